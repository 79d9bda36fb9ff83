// The thumbnail panel benchmark: a real panel with the main window's settings, 800 x 600 in a
// form, shown one folder. Prints one line: time from SetFolderPath to the first screenful
// painted and to all thumbnails made, the time of one thumbnail job (handed over to result
// applied, which includes the wait behind the job running when it was handed over), and
// the UI thread's timer gaps (10 ms timer) while idle before the fill and during the fill, and
// the longest the UI thread spent in one message handler during the fill.
//   panelbench FOLDER [--size N] [--visible-list FILE]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/MainPanelSettings.h"
#include "thumbpanel/ImgPanel.h"
#include "ui/Application.h"
#include "ui/Form.h"

namespace {

LARGE_INTEGER frequency;

double NowMs() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return double(t.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

class HostForm : public ui::Form {
 public:
  HostForm() {
    CreateForm("panelbench", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 840, 680);
    Show();
  }
};

// Timer ticks of the UI thread; the probe is a thread timer, so a tick waits for the queue.
std::vector<double> ticks;
void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) { ticks.push_back(NowMs()); }

struct Gaps {
  double worst = 0, p99 = 0, median = 0;
  size_t count = 0;
};

Gaps GapsBetween(double from, double to) {
  std::vector<double> gaps;
  double last = -1;
  for (double t : ticks) {
    if (t < from || t > to) continue;
    if (last >= 0) gaps.push_back(t - last);
    last = t;
  }
  Gaps g;
  g.count = gaps.size();
  if (gaps.empty()) return g;
  std::sort(gaps.begin(), gaps.end());
  g.worst = gaps.back();
  g.p99 = gaps[std::min(gaps.size() - 1, gaps.size() * 99 / 100)];
  g.median = gaps[gaps.size() / 2];
  return g;
}

// The longest time the UI thread spent in one message handler (a blocked UI thread) since
// the last reset.
double longestDispatch = 0;

// Runs the message loop until done() or the time is up; done() is asked after each message.
bool Pump(const std::function<bool()>& done, double ms) {
  const double end = NowMs() + ms;
  MSG msg;
  while (!done()) {
    const double left = end - NowMs();
    if (left <= 0) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(std::min(left, 50.0)) + 1, QS_ALLINPUT);
    while (!done() && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      const double before = NowMs();
      DispatchMessageA(&msg);
      longestDispatch = std::max(longestDispatch, NowMs() - before);
    }
  }
  return true;
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

int main(int argc, char** argv) {
  std::string folder, visibleList;
  int size = 32;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--size") && i + 1 < argc)
      size = std::max(8, std::atoi(argv[++i]));
    else if (!std::strcmp(argv[i], "--visible-list") && i + 1 < argc)
      visibleList = argv[++i];
    else
      folder = argv[i];
  }
  if (folder.empty()) {
    std::fprintf(stderr, "usage: panelbench FOLDER [--size N] [--visible-list FILE]\n");
    return 2;
  }
  QueryPerformanceFrequency(&frequency);
  ui::Application::Initialize();

  // The main window's panel settings (MainWindow.cpp, MainWindowSettings.cpp).
  thumbpanel::CaptionTopMargin = 0;
  HostForm form;
  thumbpanel::TImgPanel panel;
  ApplyMainPanelSettings(panel);
  panel.ViewImage.SetImageWidth(size);
  panel.ViewImage.SetImageHeight(size);
  panel.CreatePanel(form.Handle(), 0, 0, 800, 600);

  std::unordered_map<std::int32_t, double> launched, made;
  std::vector<double> jobMs;
  // Job times by source size: under 1 MP, 1 to 4 MP, 4 MP and over.
  double classMs[3] = {}, classCount[3] = {};
  panel.OnImageLoad = [&](thumbpanel::TObject&, thumbpanel::TPanelItem& item) {
    launched[item.ItemID] = NowMs();
  };
  panel.OnImageLoaded = [&](thumbpanel::TObject&, thumbpanel::TPanelItem& item) {
    const double now = NowMs();
    made[item.ItemID] = now;
    if (!launched.count(item.ItemID)) return;
    const double ms = now - launched[item.ItemID];
    jobMs.push_back(ms);
    const double mp = double(item.SourceWidth) * item.SourceHeight / 1e6;
    const int c = mp < 1 ? 0 : mp < 4 ? 1 : 2;
    classMs[c] += ms;
    ++classCount[c];
  };

  // Let the form settle on the desktop (the panel shows the Desktop), then probe while idle.
  Pump([] { return false; }, 500);
  launched.clear();
  made.clear();
  jobMs.clear();
  for (int c = 0; c < 3; ++c) classMs[c] = classCount[c] = 0;
  SetTimer(nullptr, 0, 10, Tick);
  const double idleStart = NowMs();
  Pump([] { return false; }, 1000);

  const double start = NowMs();
  longestDispatch = 0;
  panel.SetFolderPath(folder);
  const double listed = NowMs();
  const int count = panel.Items().Count();
  std::set<std::int32_t> visible;
  const int top = panel.Layout().DrawTop();
  for (int i = top; i < std::min(count, top + panel.Layout().VisibleCount); ++i)
    visible.insert(panel.Items()[i].ItemID);

  // First screenful: every visible cell has its thumbnail and the panel has painted it.
  double screen = -1;
  const auto screenDone = [&] {
    for (std::int32_t id : visible)
      if (!made.count(id)) return false;
    return true;
  };
  const bool screenOk = Pump(
      [&] {
        if (!screenDone()) return false;
        UpdateWindow(panel.Handle());
        screen = NowMs();
        return true;
      },
      600000);
  double firstLaunch = -1;
  for (const auto& [id, t] : launched)
    if (firstLaunch < 0 || t < firstLaunch) firstLaunch = t;
  const bool allOk = Pump([&] { return int(made.size()) >= count; }, 1200000);
  const double end = NowMs();
  const double fillLongestDispatch = longestDispatch;
  Pump([] { return false; }, 200);

  if (!visibleList.empty()) {
    if (std::FILE* f = std::fopen(visibleList.c_str(), "w")) {
      for (int i = top; i < std::min(count, top + panel.Layout().VisibleCount); ++i)
        std::fprintf(f, "%s\n", BaseName(panel.GetParsingName(panel.Items()[i])).c_str());
      std::fclose(f);
    }
  }
  const Gaps idle = GapsBetween(idleStart, start), fill = GapsBetween(start, end);
  std::sort(jobMs.begin(), jobMs.end());
  double jobMean = 0;
  for (double j : jobMs) jobMean += j;
  if (!jobMs.empty()) jobMean /= double(jobMs.size());
  std::printf(
      "panel box=%d items=%d visible=%zu listed_ms=%.0f first_job_ms=%.0f "
      "first_screen_ms=%.0f%s all_ms=%.0f%s "
      "made=%zu job_mean_ms=%.2f job_median_ms=%.2f job_max_ms=%.1f "
      "job_mean_under1mp_ms=%.2f job_mean_1to4mp_ms=%.2f job_mean_4mp_up_ms=%.2f "
      "idle_gap_median_ms=%.1f idle_gap_p99_ms=%.1f idle_gap_worst_ms=%.1f "
      "fill_ticks=%zu fill_gap_median_ms=%.1f fill_gap_p99_ms=%.1f fill_gap_worst_ms=%.1f "
      "fill_longest_handler_ms=%.1f\n",
      size, count, visible.size(), listed - start, firstLaunch - start, screen - start,
      screenOk ? "" : "(timeout)", end - start, allOk ? "" : "(timeout)", made.size(), jobMean,
      jobMs.empty() ? 0.0 : jobMs[jobMs.size() / 2], jobMs.empty() ? 0.0 : jobMs.back(),
      classCount[0] ? classMs[0] / classCount[0] : 0.0,
      classCount[1] ? classMs[1] / classCount[1] : 0.0,
      classCount[2] ? classMs[2] / classCount[2] : 0.0, idle.median, idle.p99, idle.worst,
      fill.count, fill.median, fill.p99, fill.worst, fillLongestDispatch);
  std::fflush(stdout);
  return screenOk && allOk ? 0 : 1;
}

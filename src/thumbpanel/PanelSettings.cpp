#include "thumbpanel/PanelSettings.h"

#include "base/Sjis.h"

namespace thumbpanel {

namespace {

std::string BuildMatchList(const std::string& ext) {
  if (ext.empty()) return ";*.*;";
  std::string list = base::AnsiLowerCase(ext);
  if (list.front() != ';') list.insert(list.begin(), ';');
  if (list.back() != ';') list.push_back(';');
  return list;
}

}  // namespace

TDispTypes::TDispTypes() : matchList_(BuildMatchList(ext_)) {}

void TDispTypes::SetExt(const std::string& v) {
  if (ext_ == v) return;
  matchList_ = BuildMatchList(v);
  Assign(ext_, v);
}

bool TDispTypes::FilterActive() const { return matchList_.find(";*.*;") == std::string::npos; }

bool TDispTypes::Matches(const std::string& path) const {
  if (!FilterActive()) return true;
  const std::string name = base::AnsiLowerCase(base::ExtractFileName(path));
  if (matchList_.find(";" + name + ";") != std::string::npos) return true;
  return matchList_.find(";*" + base::ExtractFileExt(name) + ";") != std::string::npos;
}

TView::TView() {
  DispTypes.OnChange = [this](TObject&) { Fire(OnChange1); };
  IconSpacing.OnChange = [this](TObject&) { Fire(OnChange2); };
}

void TView::SetShowCaptions(bool v) {
  if (showCaptions_ == v) return;
  showCaptions_ = v;
  Fire(OnChange2);
}

void TView::Fire(const TNotifyEvent& e) {
  if (e) e(*this);
}

void TFrameStyle::AssignFrom(const TFrameStyle& other) {
  if (visible_ == other.visible_ && color_ == other.color_ && width_ == other.width_) return;
  visible_ = other.visible_;
  color_ = other.color_;
  width_ = other.width_;
  Changed();
}

TViewImage::TViewImage() {
  const auto forward = [this](TObject&) { Changed(); };
  Frame.OnChange = forward;
  SelectFrame.OnChange = forward;
  SmallIcon.OnChange = forward;
  BlankSpace.OnChange = forward;
}

void TShellChangeSettings::SetEnabled(bool v) {
  if (enabled_ == v) return;
  enabled_ = v;
  if (!v && OnStop) OnStop();
}

std::uint32_t TShellChangeSettings::Filter() const {
  // intFileName .. intCreation are the flags 0x1 .. 0x40 in order; intSecurity is 0x100.
  std::uint32_t filter = notifyTypes_.Bits() & 0x7Fu;
  if (notifyTypes_.Has(intSecurity)) filter |= 0x100u;
  return filter;
}

}  // namespace thumbpanel

#include "thumbpanel/ThumbQueue.h"

#include <algorithm>
#include <utility>

#include "thumbpanel/PanelSettings.h"

namespace thumbpanel {

void TThumbQueue::Request(std::int32_t id, bool atEnd) {
  const auto it = std::find(queue_.begin(), queue_.end(), id);
  const bool queued = it != queue_.end();
  if (queued) queue_.erase(it);
  const bool handedNext = next_ && next_->ItemID == id;
  if (!queued && !handedNext && !atEnd) {
    queue_.push_front(id);
    return;
  }
  // Served next: ahead of a job handed but not started, which follows it.
  if (const std::optional<std::int32_t> withdrawn = WithdrawNext()) {
    if (*withdrawn != id) queue_.push_back(*withdrawn);
  } else if (handedNext) {
    return;  // it has started
  }
  queue_.push_back(id);
}

std::optional<std::int32_t> TThumbQueue::WithdrawNext() {
  if (ending_ || !next_ || !host_.WithdrawJob(*next_)) return std::nullopt;
  host_.ReleaseJob(*next_);
  return std::exchange(next_, std::nullopt)->ItemID;
}

void TThumbQueue::Enqueue(std::int32_t id, bool atEnd) {
  if (atEnd)
    queue_.push_back(id);
  else
    queue_.push_front(id);
}

void TThumbQueue::ClearQueue() {
  queue_.clear();
  WithdrawNext();
}

std::optional<TThumbJob> TThumbQueue::Launch() {
  const std::uint32_t stops = stops_;
  while (!queue_.empty()) {
    const std::int32_t id = queue_.back();
    queue_.pop_back();
    if (!Servable(id)) continue;
    host_.ImageLoad(items_.IndexOfID(id));
    if (stops != stops_) return std::nullopt;  // the owner's event stopped the work
    if (!Servable(id)) continue;               // or changed the list
    const int index = items_.IndexOfID(id);
    const TThumbJob job{++serial_, id};
    if (!host_.LaunchJob(job, index)) {
      queue_.push_back(id);  // no worker now: tried again on the next Start
      return std::nullopt;
    }
    return job;
  }
  return std::nullopt;
}

bool TThumbQueue::Servable(std::int32_t id) const {
  const int index = items_.IndexOfID(id);
  return index >= 0 && !items_[index].Loaded && !(current_ && current_->ItemID == id) &&
         !(next_ && next_->ItemID == id);
}

void TThumbQueue::Start() {
  if (starting_ || ending_) return;
  starting_ = true;
  while (!current_ || !next_) {
    const std::optional<TThumbJob> job = Launch();
    if (!job) break;
    // A result handled inside an owner's event may have moved the next job up.
    (current_ ? next_ : current_) = job;
  }
  starting_ = false;
}

void TThumbQueue::Stop() {
  queue_.clear();
  ++stops_;
  if (ending_ || (!current_ && !next_)) return;
  ending_ = true;
  host_.EndJobs();
  ending_ = false;
  current_.reset();
  next_.reset();
}

int TThumbQueue::HandleResult(std::int32_t itemID) {
  if (!current_ || current_->ItemID != itemID) return -1;
  const std::optional<int> code = host_.FinishedResult(*current_);
  if (!code) return -1;  // an earlier job's message; this job's own follows
  const TThumbJob done = *current_;
  int index = items_.IndexOfID(itemID);
  if (index >= 0) {
    TPanelItem& item = items_[index];
    if (*code != 0 || item.Loaded) {
      // Drawn with its shell icon from now on; a request made while the job ran (painting
      // asks again for a cell still without thumbnail) must not try the file a second time.
      // An icon type keeps its type: it tells that the file is its own icon (icons, cursors,
      // programs), which a look-ahead job for an item not yet on screen must not undo.
      if (!item.ImageType || !IsIconType(*item.ImageType)) item.ImageType = imaging::iitNone;
      item.Loaded = true;
    } else {
      item.Loaded = true;
      host_.ApplyThumbnail(done, index);
    }
  }
  current_ = std::exchange(next_, std::nullopt);
  host_.ReleaseJob(done);
  if (index >= 0) host_.ImageLoaded(index);  // the owner's event may change the list
  Start();
  return items_.IndexOfID(itemID);
}

}  // namespace thumbpanel

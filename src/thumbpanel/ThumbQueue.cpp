#include "thumbpanel/ThumbQueue.h"

#include <algorithm>

namespace thumbpanel {

void TThumbQueue::Request(std::int32_t id, bool atEnd) {
  const auto it = std::find(queue_.begin(), queue_.end(), id);
  if (it != queue_.end()) {
    queue_.erase(it);
    queue_.push_back(id);
    return;
  }
  Enqueue(id, atEnd);
}

void TThumbQueue::Enqueue(std::int32_t id, bool atEnd) {
  if (atEnd)
    queue_.push_back(id);
  else
    queue_.push_front(id);
}

void TThumbQueue::Start() {
  if (busy_) return;
  busy_ = true;
  host_.EndWorker();
  current_.reset();
  while (!queue_.empty()) {
    const std::int32_t id = queue_.back();
    queue_.pop_back();
    const int index = items_.IndexOfID(id);
    if (index < 0 || items_[index].Loaded) continue;
    host_.ImageLoad(index);
    current_ = TThumbJob{++serial_, id};
    host_.LaunchJob(*current_, index);
    return;
  }
  busy_ = false;
}

void TThumbQueue::Stop() {
  queue_.clear();
  if (!busy_) return;
  host_.EndWorker();
  current_.reset();
  busy_ = false;
}

int TThumbQueue::HandleResult(std::int32_t itemID) {
  if (!busy_ || !current_ || current_->ItemID != itemID) return -1;
  const std::optional<int> code = host_.FinishedResult();
  if (!code) return -1;  // an earlier job's message; this job's own follows
  const int index = items_.IndexOfID(itemID);
  if (index >= 0) {
    TPanelItem& item = items_[index];
    if (*code != 0 || item.Loaded) {
      // Drawn with its shell icon from now on; a request made while the job ran (painting
      // asks again for a cell still without thumbnail) must not try the file a second time.
      item.ImageType = imaging::iitNone;
      item.Loaded = true;
    } else {
      item.Loaded = true;
      host_.ApplyThumbnail(index);
    }
    host_.ImageLoaded(index);
  }
  busy_ = false;
  Start();
  return index;
}

}  // namespace thumbpanel

#pragma once
// The thumbnail work manager's decisions: which item is served next, when a worker is
// started or stopped, and which result messages may be applied. The Win32 side supplies
// the worker threads and the image stores through TThumbHost.
#include <cstdint>
#include <deque>
#include <optional>

#include "thumbpanel/PanelItems.h"

namespace thumbpanel {

// One worker's job. Serial numbers are never reused.
struct TThumbJob {
  std::uint32_t Serial = 0;
  std::int32_t ItemID = 0;
};

class TThumbHost {
 public:
  virtual ~TThumbHost() = default;
  virtual void ImageLoad(int index) = 0;  // just before a job for the item starts
  // Starts a worker for the item (its path and box are copied into the worker).
  virtual void LaunchJob(const TThumbJob& job, int index) = 0;
  // Ends the previous worker, if any: raises its priority, terminates it and waits for its
  // job to end. A worker whose job had already ended may be freed later.
  virtual void EndWorker() = 0;
  // The current worker's result code once it has finished (0 thumbnail made, -1 none,
  // 1 file missing); nothing while it still runs.
  virtual std::optional<int> FinishedResult() = 0;
  virtual void ApplyThumbnail(int index) = 0;  // store the worker's bitmap for the item
  virtual void ImageLoaded(int index) = 0;     // after a result was applied
};

class TThumbQueue {
 public:
  TThumbQueue(TPanelItems& items, TThumbHost& host) : items_(items), host_(host) {}

  // Served from the end. A queued ID is moved to the end; a new one is appended when
  // atEnd, else put at the front (served last).
  void Request(std::int32_t id, bool atEnd);
  // Appended or put at the front without looking for duplicates.
  void Enqueue(std::int32_t id, bool atEnd);
  void RequestAndStart(std::int32_t id, bool atEnd) {
    Request(id, atEnd);
    Start();
  }
  void ClearQueue() { queue_.clear(); }
  void Start();
  void Resume() {
    if (!busy_) Start();
  }
  // Empties the queue and ends the running worker; afterwards no result of it applies.
  void Stop();

  // The result message for itemID. Applies the current job's result when it belongs to
  // that item and has finished, then starts the next job. Returns the item's position to
  // redraw, or -1 (stale message, or the item is gone).
  int HandleResult(std::int32_t itemID);

  bool Busy() const { return busy_; }
  const std::deque<std::int32_t>& Queue() const { return queue_; }
  const std::optional<TThumbJob>& CurrentJob() const { return current_; }

 private:
  TPanelItems& items_;
  TThumbHost& host_;
  std::deque<std::int32_t> queue_;  // ItemIDs
  bool busy_ = false;
  std::optional<TThumbJob> current_;
  std::uint32_t serial_ = 0;
};

}  // namespace thumbpanel

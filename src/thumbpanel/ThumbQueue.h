#pragma once
// The thumbnail work manager's decisions: which item is served next, when jobs are handed to
// the worker or ended, and which result messages may be applied. The Win32 side supplies the
// worker and the image stores through TThumbHost.
#include <cstdint>
#include <deque>
#include <optional>

#include "thumbpanel/PanelItems.h"

namespace thumbpanel {

// One thumbnail job. Serial numbers are never reused.
struct TThumbJob {
  std::uint32_t Serial = 0;
  std::int32_t ItemID = 0;
  friend bool operator==(const TThumbJob&, const TThumbJob&) = default;
};

class TThumbHost {
 public:
  virtual ~TThumbHost() = default;
  virtual void ImageLoad(int index) = 0;  // just before a job for the item is handed over
  // Hands a job for the item to the worker (its path and box are copied into the job), to run
  // after the jobs handed before it. False when no worker can run it.
  virtual bool LaunchJob(const TThumbJob& job, int index) = 0;
  // Takes back a handed job that has not started; true when it will not run.
  virtual bool WithdrawJob(const TThumbJob& job) = 0;
  // Terminates every handed job and waits until none runs.
  virtual void EndJobs() = 0;
  // The job's result code once it has finished (0 thumbnail made, -1 none, 1 file missing);
  // nothing while it is still to run or running.
  virtual std::optional<int> FinishedResult(const TThumbJob& job) = 0;
  virtual void ApplyThumbnail(const TThumbJob& job, int index) = 0;  // store its bitmap
  virtual void ReleaseJob(const TThumbJob& job) = 0;                 // handled: its object may go
  virtual void ImageLoaded(int index) = 0;                           // after a result was applied
};

// Jobs run one at a time. While one runs, the next is already handed to the worker, so the
// worker goes on without waiting for the UI thread to handle a result.
class TThumbQueue {
 public:
  TThumbQueue(TPanelItems& items, TThumbHost& host) : items_(items), host_(host) {}

  // Served from the end. A queued ID is moved to the end; a new one is appended when
  // atEnd, else put at the front (served last). An ID put at the end goes ahead of a job
  // handed but not started.
  void Request(std::int32_t id, bool atEnd);
  // Appended or put at the front without looking for duplicates.
  void Enqueue(std::int32_t id, bool atEnd);
  void RequestAndStart(std::int32_t id, bool atEnd) {
    Request(id, atEnd);
    Start();
  }
  // Empties the queue and takes back the handed job that has not started; the running job
  // is not touched.
  void ClearQueue();
  // Hands jobs to the worker until one runs and the next waits behind it.
  void Start();
  void Resume() { Start(); }
  // Empties the queue and ends the handed jobs; afterwards no result of them applies.
  // Called again while it waits, it only empties the queue.
  void Stop();

  // The result message for itemID. Applies the running job's result when it belongs to
  // that item and has finished, then keeps the worker supplied. Returns the item's position
  // to redraw, or -1 (stale message, or the item is gone).
  int HandleResult(std::int32_t itemID);

  bool Busy() const { return current_.has_value() || starting_; }
  const std::deque<std::int32_t>& Queue() const { return queue_; }
  const std::optional<TThumbJob>& CurrentJob() const { return current_; }
  const std::optional<TThumbJob>& NextJob() const { return next_; }

 private:
  // Takes the next servable request off the queue and hands it over.
  std::optional<TThumbJob> Launch();
  // Present, without a finished attempt, and not handed over already.
  bool Servable(std::int32_t id) const;
  // Takes back the handed job that has not started; its ItemID when it was taken back.
  std::optional<std::int32_t> WithdrawNext();

  TPanelItems& items_;
  TThumbHost& host_;
  std::deque<std::int32_t> queue_;    // ItemIDs
  std::optional<TThumbJob> current_;  // the job running, or whose result is not handled yet
  std::optional<TThumbJob> next_;     // handed to run after it
  std::uint32_t serial_ = 0;
  std::uint32_t stops_ = 0;  // counts Stop calls, so a caller sees one made by an owner event
  bool starting_ = false, ending_ = false;
};

}  // namespace thumbpanel

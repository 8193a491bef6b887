#include "transfer/SourceReader.h"

#include <signal.h>

#include <chrono>
#include <utility>

namespace {

using Clock = std::chrono::steady_clock;

std::atomic<bool> readAhead{true};

std::mutex totalsMutex;
SourceReader::Waits totals;

double Since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Signals sent to the program (an interrupt, a close request) reach the
// window's thread as they always did, never the reader.
class SignalsBlockedForNewThreads {
 public:
  SignalsBlockedForNewThreads() {
    sigset_t all;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, &previous_);
  }
  ~SignalsBlockedForNewThreads() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
  SignalsBlockedForNewThreads(const SignalsBlockedForNewThreads&) = delete;
  SignalsBlockedForNewThreads& operator=(const SignalsBlockedForNewThreads&) = delete;

 private:
  sigset_t previous_;
};

}  // namespace

void SourceReader::SetReadAhead(bool on) {
  readAhead = on;
}

bool SourceReader::ReadAheadEnabled() {
  return readAhead;
}

SourceReader::Waits SourceReader::TotalWaits() {
  std::lock_guard<std::mutex> lock(totalsMutex);
  return totals;
}

void SourceReader::ResetTotalWaits() {
  std::lock_guard<std::mutex> lock(totalsMutex);
  totals = Waits();
}

SourceReader::SourceReader(TIBSQL& source, std::vector<int> blobColumns, bool ahead, Limits limits)
    : source_(source), blobColumns_(std::move(blobColumns)), ahead_(ahead), limits_(limits) {}

SourceReader::~SourceReader() {
  Stop();
}

void SourceReader::Start() {
  if (!ahead_) return;
  // Two chunks beyond the queue: the one being filled and the one being written.
  for (size_t i = 0; i < limits_.queuedChunks + 2; ++i) free_.push_back(std::make_unique<Chunk>());
  SignalsBlockedForNewThreads blocked;
  thread_ = std::thread([this] { ReadLoop(); });
}

void SourceReader::Stop() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  notFull_.notify_all();
  thread_.join();
  std::lock_guard<std::mutex> lock(totalsMutex);
  totals.writerSeconds += waits_.writerSeconds;
  totals.readerSeconds += waits_.readerSeconds;
  totals.rows += waits_.rows;
  totals.handOvers += waits_.handOvers;
}

TRowValues* SourceReader::Next() {
  if (!ahead_) return NextInLine();
  if (current_ && position_ < current_->count) return &current_->rows[position_++];

  std::unique_lock<std::mutex> lock(mutex_);
  if (current_) {
    heldRows_ -= static_cast<long long>(current_->count);
    heldBytes_ -= static_cast<long long>(current_->bytes);
    current_->count = 0;
    current_->bytes = 0;
    free_.push_back(std::move(current_));
    notFull_.notify_one();
  }
  if (full_.empty() && !done_) {
    const Clock::time_point start = Clock::now();
    writerWaiting_ = true;
    notEmpty_.wait(lock, [this] { return !full_.empty() || done_; });
    writerWaiting_ = false;
    waits_.writerSeconds += Since(start);
  }
  if (full_.empty()) {
    if (failure_) std::rethrow_exception(failure_);
    return nullptr;
  }
  current_ = std::move(full_.front());
  full_.pop_front();
  notFull_.notify_one();
  position_ = 0;
  return &current_->rows[position_++];
}

TRowValues* SourceReader::NextInLine() {
  // The query's first row is current already; each later one is fetched here.
  if (!firstInLine_) source_.FetchNext();
  firstInLine_ = false;
  if (source_.AtEnd()) return nullptr;
  source_.Current().SaveRow(inLine_, blobColumns_);
  return &inLine_;
}

void SourceReader::ReadLoop() {
  std::exception_ptr failure;
  std::unique_ptr<Chunk> chunk;
  try {
    chunk = TakeFree();
    bool first = true;
    while (chunk && !stop_) {
      if (!first) source_.FetchNext();
      first = false;
      if (source_.AtEnd()) break;
      if (chunk->rows.size() == chunk->count) chunk->rows.emplace_back();
      TRowValues& row = chunk->rows[chunk->count];
      source_.Current().SaveRow(row, blobColumns_);
      ++chunk->count;
      chunk->bytes += row.Bytes();
      // A writer that waits gets the rows as soon as there are a few;
      // otherwise rows go in whole chunks, one hand-over for many rows.
      if ((writerWaiting_ && chunk->count >= limits_.waitedRows) ||
          chunk->count == limits_.chunkRows || chunk->bytes >= limits_.chunkBytes) {
        if (!Hand(std::move(chunk))) return;
        chunk = TakeFree();
      }
    }
  } catch (...) {
    failure = std::current_exception();
  }
  // The rows read before a failure are written before it is raised.
  if (chunk && chunk->count > 0 && !Hand(std::move(chunk))) return;
  Finish(failure);
}

std::unique_ptr<SourceReader::Chunk> SourceReader::TakeFree() {
  std::unique_lock<std::mutex> lock(mutex_);
  const Clock::time_point start = Clock::now();
  notFull_.wait(
      lock, [this] { return stop_ || (!free_.empty() && full_.size() < limits_.queuedChunks); });
  waits_.readerSeconds += Since(start);
  if (stop_) return nullptr;
  std::unique_ptr<Chunk> chunk = std::move(free_.back());
  free_.pop_back();
  return chunk;
}

bool SourceReader::Hand(std::unique_ptr<Chunk> chunk) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stop_) return false;
    CountHeld(static_cast<long long>(chunk->count), static_cast<long long>(chunk->bytes));
    waits_.rows += static_cast<long long>(chunk->count);
    ++waits_.handOvers;
    full_.push_back(std::move(chunk));
  }
  notEmpty_.notify_one();
  return true;
}

void SourceReader::Finish(std::exception_ptr failure) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    done_ = true;
    failure_ = failure;
  }
  notEmpty_.notify_one();
}

void SourceReader::CountHeld(long long rows, long long bytes) {
  heldRows_ += rows;
  heldBytes_ += bytes;
  if (heldRows_ > static_cast<long long>(peakRows_)) peakRows_ = static_cast<size_t>(heldRows_);
  if (heldBytes_ > static_cast<long long>(peakBytes_)) peakBytes_ = static_cast<size_t>(heldBytes_);
}

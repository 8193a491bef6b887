#pragma once
// The rows of a table copy's source query, read ahead on a thread of their own
// while the window's thread writes the rows before them. From Start() until the
// reader is stopped, the source statement, its connection and its transaction
// belong to the reader thread alone (see the statement bracket); the reader
// never touches the window or the destination.
//
// Rows travel in chunks through a queue bounded by rows and by bytes, so a
// table of large blobs cannot fill the memory.
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "db/IB.h"

class SourceReader {
 public:
  struct Limits {
    size_t chunkRows = 256;           // rows handed over together
    size_t chunkBytes = 1024 * 1024;  // a chunk closes once it holds this much
    size_t queuedChunks = 4;          // full chunks waiting for the writer
    // A writer that waits gets the rows read so far once there are this many:
    // one hand-over per row would cost more than the row.
    size_t waitedRows = 32;
  };

  // What the readers of this process waited for, for the benchmark: the writer
  // for rows (reading is the slower side), the reader for room (writing is).
  struct Waits {
    double writerSeconds = 0;
    double readerSeconds = 0;
    long long rows = 0;
    long long handOvers = 0;
  };
  static Waits TotalWaits();
  static void ResetTotalWaits();

  // `source` has executed its query; its current row, if any, is the first.
  // `blobColumns`: the columns whose blob contents the rows carry. `ahead`
  // false: every row is fetched in Next() on the caller's thread instead.
  SourceReader(TIBSQL& source, std::vector<int> blobColumns, bool ahead, Limits limits);
  SourceReader(TIBSQL& source, std::vector<int> blobColumns, bool ahead)
      : SourceReader(source, std::move(blobColumns), ahead, Limits()) {}
  ~SourceReader();  // Stop()
  SourceReader(const SourceReader&) = delete;
  SourceReader& operator=(const SourceReader&) = delete;

  void Start();
  // The next row, valid until the next call; nullptr after the last. A failure
  // to fetch is raised here, after the rows read before it.
  TRowValues* Next();
  // Ends the reading and joins the thread; the rows read ahead are dropped.
  // The source statement is the caller's again afterwards.
  void Stop();

  // Whether table copies read ahead (on by default); tests and the benchmark
  // compare with reading in line.
  static void SetReadAhead(bool on);
  static bool ReadAheadEnabled();
  // Tests: the most rows and bytes handed over and not yet written at once.
  size_t PeakRowsForTests() const { return peakRows_; }
  size_t PeakBytesForTests() const { return peakBytes_; }

 private:
  struct Chunk {
    std::vector<TRowValues> rows;
    size_t count = 0;
    size_t bytes = 0;
  };

  void ReadLoop();
  TRowValues* NextInLine();
  // Waits for a free chunk; nullptr once stopped.
  std::unique_ptr<Chunk> TakeFree();
  // Hands a filled chunk over; false once stopped.
  bool Hand(std::unique_ptr<Chunk> chunk);
  void Finish(std::exception_ptr failure);
  void CountHeld(long long rows, long long bytes);

  TIBSQL& source_;
  const std::vector<int> blobColumns_;
  const bool ahead_;
  const Limits limits_;

  std::mutex mutex_;
  std::condition_variable notFull_, notEmpty_;
  std::deque<std::unique_ptr<Chunk>> full_;
  std::vector<std::unique_ptr<Chunk>> free_;
  // Set under mutex_ for the waits; read without it once per row.
  std::atomic<bool> stop_{false};
  std::atomic<bool> writerWaiting_{false};
  bool done_ = false;
  std::exception_ptr failure_;
  std::thread thread_;

  // The writer's side.
  std::unique_ptr<Chunk> current_;
  size_t position_ = 0;
  bool firstInLine_ = true;
  TRowValues inLine_;

  // Rows and bytes in memory, filled or being filled (under mutex_).
  long long heldRows_ = 0, heldBytes_ = 0;
  size_t peakRows_ = 0, peakBytes_ = 0;
  Waits waits_;  // this reader's, added to the process's when it stops
};

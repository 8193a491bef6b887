#pragma once
// The engine descriptor block behind a TIBXSQLDA and the buffers of its entries.
#include <cstddef>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "db/Client.h"
#include "db/IB.h"

struct TIBXSQLDA::Impl {
  // Data and null indicator of one entry; the XSQLVAR points into them.
  struct Slot {
    std::vector<char> data;
    short indicator = 0;
    XSQLVAR described{};  // the entry as the engine described it, for ResetParams
    // A column of a kept row: the blob's content (or the error reading it
    // raised), read in place of the blob the id names.
    bool blobHeld = false;
    std::string blobContent;
    std::exception_ptr blobFailure;
  };

  explicit Impl(TIBXSQLDA& list) : owner(list) {}

  TIBXSQLDA& owner;
  std::vector<std::max_align_t> block;
  int capacity = 0;
  std::vector<std::unique_ptr<Slot>> slots;

  XSQLDA* Sqlda() { return reinterpret_cast<XSQLDA*>(block.data()); }
  // The block for an engine call: none when the list is empty.
  XSQLDA* ForEngine() { return owner.Count() > 0 ? Sqlda() : nullptr; }
  XSQLVAR& Var(int i) { return Sqlda()->sqlvar[i]; }
  Slot& SlotAt(int i) { return *slots[static_cast<size_t>(i)]; }

  // Grows the allocation to at least n entries (never shrinks) and offers n to
  // the engine for a describe call.
  void Reserve(int n);
  // Sets the count and the entries' names (missing names are empty).
  void SetCount(int n, const std::vector<std::string>& names);
  // Count 0, names cleared.
  void Clear();
  // Buffers by the described type and length, zero-filled, not null.
  void SetupBuffers();
  // Names result columns from the engine's aliases.
  void NameColumns();
  // Makes entry i's data buffer hold at least `bytes` bytes.
  void Resize(int i, size_t bytes);
  // Back to the described state with zero data (ResetParams).
  void ResetToDescribed();
};

namespace ib {

int BaseType(const XSQLVAR& v);
bool IsNullable(const XSQLVAR& v);
// Bytes of the data buffer an entry of this type and length needs.
size_t DataSize(const XSQLVAR& v);

// The connection and transaction a statement works in; raises the layer's
// messages when one is missing, detached or not started.
struct StatementContext {
  isc_db_handle* database;
  isc_tr_handle* transaction;
};
StatementContext ContextOf(TIBSQL& statement);

// Blob transfer through memory.
std::string ReadBlob(TIBSQL& statement, const ISC_QUAD& id);
ISC_QUAD WriteBlob(TIBSQL& statement, const std::string& content);

}  // namespace ib

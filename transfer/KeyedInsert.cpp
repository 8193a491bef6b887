#include "transfer/KeyedInsert.h"

#include <utility>

namespace {

bool maxReadBackForced = false;

// A statement of its own on the row statement's connection and transaction.
std::unique_ptr<TIBSQL> CompanionOf(TIBSQL& dest, const char* suffix) {
  auto statement = std::make_unique<TIBSQL>(dest.Name() + suffix);
  statement->SetDatabase(dest.Database());
  statement->SetTransaction(dest.Transaction());
  return statement;
}

}  // namespace

KeyedInsert::KeyedInsert(TIBSQL& dest, std::string text, std::string table, std::string keyColumn)
    : dest_(dest),
      text_(std::move(text)),
      table_(std::move(table)),
      keyColumn_(std::move(keyColumn)),
      retryBefore_(dest.RetryFailedProcedure()) {
  // Each row's insert runs once, as a plain insert would: a retried insert with
  // RETURNING would spend a second generator value and shift the keys of the
  // rows after it. The statement serves only these inserts while this lives.
  dest_.SetRetryFailedProcedure(false);
}

KeyedInsert::~KeyedInsert() {
  dest_.SetRetryFailedProcedure(retryBefore_);
}

void KeyedInsert::UseMaxReadBackForTests(bool on) {
  maxReadBackForced = on;
}

TIBSQL& KeyedInsert::Start() {
  if (!textSet_ || !dest_.Prepared()) Prepare();
  dest_.ResetParams();
  return dest_;
}

void KeyedInsert::Prepare() {
  if (!keyColumn_.empty() && keySource_ != KeySource::MaxQuery) {
    if (maxReadBackForced) {
      keySource_ = KeySource::MaxQuery;
    } else {
      dest_.SetSQL({text_, "RETURNING " + keyColumn_});
      textSet_ = true;
      try {
        dest_.Prepare();
        keySource_ = KeySource::Returning;
        return;
      } catch (const EIBInterBaseError&) {
        // The engine refused the returning form; the plain insert decides the row.
        keySource_ = KeySource::MaxQuery;
      }
    }
  }
  dest_.SetSQL({text_});
  textSet_ = true;
  dest_.Prepare();
}

void KeyedInsert::Execute() {
  dest_.Execute();
}

std::string KeyedInsert::NewKey(bool written) {
  if (keySource_ == KeySource::Returning) {
    if (!written) return "-1";
    const std::string key = dest_.Column(0).GetText();
    return key.empty() ? "-1" : key;
  }
  if (!maxQuery_) {
    maxQuery_ = CompanionOf(dest_, "MaxKey");
    maxQuery_->SQLAdd("Select MAX(" + keyColumn_ + ") from " + table_);
  }
  std::string key;
  try {
    maxQuery_->Execute();
    key = maxQuery_->Column(0).GetText();
    maxQuery_->Close();
  } catch (...) {
    try {
      maxQuery_->Close();
    } catch (...) {
    }
    throw;
  }
  // After a failed insert the largest key belongs to another row.
  return written && !key.empty() ? key : "-1";
}

OwnerArchiveFlag::~OwnerArchiveFlag() = default;

void OwnerArchiveFlag::Set(int ownerKey) {
  if (!update_) {
    update_ = CompanionOf(dest_, "Archive");
    update_->SQLAdd("UPdate OWNER SET OW_ARCHIVE = 1 WHERE OW_ID = :OW_ID");
  }
  update_->ParamByName("OW_ID").SetInteger(ownerKey);
  update_->Execute();
}

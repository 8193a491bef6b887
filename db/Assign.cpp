// TIBXSQLVAR: assignments to parameters and the column-to-parameter copy.
#include <algorithm>
#include <cstring>
#include <ctime>
#include <limits>
#include <string>

#include "db/Descriptors.h"
#include "db/IB.h"
#include "text/Regional.h"

namespace {

XSQLVAR& Xvar(const TIBXSQLVAR& v) {
  return *static_cast<XSQLVAR*>(v.Descriptor());
}

// Calls f(i) for entry `index` and every other entry of the same name. Entries
// without a name share nothing.
template <typename F>
void ForEachSameName(TIBXSQLDA& list, int index, F f) {
  const std::string& name = list.NameAt(index);
  for (int i = 0; i < list.Count(); ++i)
    if (i == index || (!name.empty() && list.NameAt(i) == name)) f(i);
}

// Gives entry i a new type, scale and value; it is not null afterwards.
void Store(TIBXSQLDA& list, int i, int type, int scale, const void* bytes, size_t length) {
  TIBXSQLDA::Impl& impl = list.GetImpl();
  XSQLVAR& v = impl.Var(i);
  v.sqltype = static_cast<ISC_SHORT>(type | (v.sqltype & 1));
  v.sqlscale = static_cast<ISC_SHORT>(scale);
  v.sqllen = static_cast<ISC_SHORT>(length);
  impl.Resize(i, std::max<size_t>(length, 1));
  if (length > 0) std::memcpy(v.sqldata, bytes, length);
  if (ib::IsNullable(v)) *v.sqlind = 0;
}

bool IsDbKey(const XSQLVAR& v) {
  std::string name(v.sqlname, static_cast<size_t>(std::clamp<int>(v.sqlname_length, 0, 31)));
  return name == "DB_KEY" || name == "RDB$DB_KEY";
}

}  // namespace

void TIBXSQLVAR::SetInteger(int value) {
  ForEachSameName(owner_, index_, [&](int i) {
    ISC_LONG v = value;
    Store(owner_, i, SQL_LONG, 0, &v, sizeof v);
    owner_[i].modified_ = true;
  });
}

void TIBXSQLVAR::SetText(const std::string& value) {
  int type = SQLType();
  if (type == SQL_TYPE_TEXT || type == SQL_TYPE_VARYING) {
    // The length travels in a 16-bit field; a longer text cannot be sent.
    if (value.size() > static_cast<size_t>(std::numeric_limits<ISC_SHORT>::max()))
      IBError(ibxeInvalidDataConversion);
    ForEachSameName(owner_, index_, [&](int i) {
      XSQLVAR& v = owner_.GetImpl().Var(i);
      if (IsDbKey(v)) {
        // A key keeps its described form; the bytes are the key as read.
        std::memcpy(v.sqldata, value.data(), std::min<size_t>(value.size(), ib::DataSize(v)));
        if (ib::IsNullable(v)) *v.sqlind = 0;
      } else {
        Store(owner_, i, SQL_TEXT, 0, value.data(), value.size());
      }
      owner_[i].modified_ = true;
    });
    return;
  }
  if (type == SQL_TYPE_BLOB) {
    WriteBlobFrom(value);
    return;
  }
  if (value.empty()) {
    SetNull(true);
    return;
  }
  if (type == SQL_TYPE_TIMESTAMP || type == SQL_TYPE_TIME || type == SQL_TYPE_DATE) {
    text::TDateTime stamp = 0;
    if (!text::TryStrToDateTime(value, stamp)) IBError(ibxeInvalidDataConversion);
    SetDateTime(stamp);
    return;
  }
  // Numbers and the rest go as text; the engine converts them at execute.
  if (value.size() > static_cast<size_t>(std::numeric_limits<ISC_SHORT>::max()))
    IBError(ibxeInvalidDataConversion);
  ForEachSameName(owner_, index_, [&](int i) {
    Store(owner_, i, SQL_TEXT, 0, value.data(), value.size());
    owner_[i].modified_ = true;
  });
}

void TIBXSQLVAR::SetDateTime(TDateTime value) {
  text::DateTimeParts parts = text::DecodeDateTime(value);
  std::tm tm{};
  tm.tm_year = parts.year - 1900;
  tm.tm_mon = parts.month - 1;
  tm.tm_mday = parts.day;
  tm.tm_hour = parts.hour;
  tm.tm_min = parts.minute;
  tm.tm_sec = parts.second;
  ISC_QUAD stamp{};
  ib::Api().encode_date(&tm, &stamp);
  ForEachSameName(owner_, index_, [&](int i) {
    Store(owner_, i, SQL_TIMESTAMP, 0, &stamp, sizeof stamp);
    owner_[i].modified_ = true;
  });
}

void TIBXSQLVAR::SetVariant(const TVariant& value) {
  switch (value.kind) {
    case TVariant::Empty:
    case TVariant::Null:
      SetNull(true);
      return;
    case TVariant::Integer:
    case TVariant::Boolean:
      if (value.kind == TVariant::Boolean) {
        SetInteger(value.integer != 0 ? 1 : 0);
      } else if (value.integer >= std::numeric_limits<int>::min() &&
                 value.integer <= std::numeric_limits<int>::max()) {
        SetInteger(static_cast<int>(value.integer));
      } else {
        ForEachSameName(owner_, index_, [&](int i) {
          ISC_INT64 v = value.integer;
          Store(owner_, i, SQL_INT64, 0, &v, sizeof v);
          owner_[i].modified_ = true;
        });
      }
      return;
    case TVariant::Double:
      ForEachSameName(owner_, index_, [&](int i) {
        double v = value.number;
        Store(owner_, i, SQL_DOUBLE, 0, &v, sizeof v);
        owner_[i].modified_ = true;
      });
      return;
    case TVariant::Currency:
      ForEachSameName(owner_, index_, [&](int i) {
        ISC_INT64 v = value.integer;
        Store(owner_, i, SQL_INT64, -4, &v, sizeof v);
        owner_[i].modified_ = true;
      });
      return;
    case TVariant::Date:
      SetDateTime(value.number);
      return;
    case TVariant::Text:
      SetText(value.text);
      return;
    case TVariant::Interface:
      IBError(ibxeNotPermitted);
    case TVariant::Array:
      IBError(ibxeNotSupported);
  }
}

void TIBXSQLVAR::SetNull(bool isNull) {
  ForEachSameName(owner_, index_, [&](int i) {
    XSQLVAR& v = owner_.GetImpl().Var(i);
    if (isNull) {
      v.sqltype = static_cast<ISC_SHORT>(v.sqltype | 1);
      *v.sqlind = -1;
    } else if (ib::IsNullable(v)) {
      *v.sqlind = 0;
    }
    owner_[i].modified_ = true;
  });
}

void TIBXSQLVAR::AssignFrom(const TIBXSQLVAR& source) {
  if (source.IsNull()) {
    SetNull(true);
    return;
  }
  const XSQLVAR& from = Xvar(source);
  const int fromType = ib::BaseType(from);
  const int toType = SQLType();
  if (fromType == SQL_ARRAY || toType == SQL_TYPE_ARRAY) return;
  if (fromType == SQL_BLOB || toType == SQL_TYPE_BLOB) {
    std::string bytes;
    if (fromType == SQL_BLOB)
      source.ReadBlobTo(bytes);
    else if (fromType == SQL_TEXT)
      bytes.assign(from.sqldata, static_cast<size_t>(from.sqllen));
    else
      // A number or date goes into a blob as its text, never as its binary form.
      bytes = source.GetText();
    XSQLVAR& to = Xvar(*this);
    if (toType == SQL_TYPE_BLOB) {
      ISC_QUAD id = ib::WriteBlob(owner_.Statement(), bytes);
      owner_.GetImpl().Resize(index_, sizeof id);
      std::memcpy(to.sqldata, &id, sizeof id);
      if (ib::IsNullable(to)) *to.sqlind = 0;
    } else {
      if (bytes.size() > static_cast<size_t>(std::numeric_limits<ISC_SHORT>::max()))
        IBError(ibxeInvalidDataConversion);
      to.sqltype = SQL_TEXT;
      Store(owner_, index_, SQL_TEXT, 0, bytes.data(), bytes.size());
    }
    modified_ = true;
    return;
  }
  const size_t length = ib::DataSize(from);
  const bool sourceNullable = ib::IsNullable(from);
  const short sourceIndicator = sourceNullable ? *from.sqlind : 0;
  ForEachSameName(owner_, index_, [&](int i) {
    TIBXSQLDA::Impl& impl = owner_.GetImpl();
    XSQLVAR& to = impl.Var(i);
    // The target keeps its own buffers; everything else comes from the source.
    to = from;
    impl.Resize(i, length);
    std::memcpy(to.sqldata, from.sqldata, length);
    *to.sqlind = sourceIndicator;
    owner_[i].modified_ = true;
  });
}

// TIBXSQLVAR: reading columns and assigning parameters. Assignments reach every
// parameter of the same name, so a name used twice in a text gets one value.
#include <cmath>
#include <cstring>
#include <ctime>
#include <limits>
#include <string>

#include "db/Descriptors.h"
#include "db/IB.h"
#include "text/Regional.h"
#include "text/Trim.h"

namespace {

XSQLVAR& Xvar(const TIBXSQLVAR& v) {
  return *static_cast<XSQLVAR*>(v.Descriptor());
}

template <typename T>
T Load(const XSQLVAR& v) {
  T value{};
  std::memcpy(&value, v.sqldata, sizeof value);
  return value;
}

long long ScaledInteger(const XSQLVAR& v) {
  switch (ib::BaseType(v)) {
    case SQL_SHORT:
      return Load<short>(v);
    case SQL_LONG:
      return Load<ISC_LONG>(v);
    default:
      return Load<ISC_INT64>(v);
  }
}

double FloatValue(const XSQLVAR& v) {
  return ib::BaseType(v) == SQL_FLOAT ? Load<float>(v) : Load<double>(v);
}

double Power10(int exponent) {
  return std::pow(10.0, exponent);
}

// Values beyond 32 bits are refused rather than cut to their low bits, which
// would silently turn one key into another.
int CheckedInt(long long value) {
  if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
    IBError(ibxeInvalidDataConversion);
  return static_cast<int>(value);
}

text::TDateTime FromTimestamp(const ISC_TIMESTAMP& stamp) {
  std::tm tm{};
  ib::Api().decode_date(reinterpret_cast<const ISC_QUAD*>(&stamp), &tm);
  text::DateTimeParts parts = text::PartsFromTm(tm);
  parts.millisecond = static_cast<int>(stamp.timestamp_time % 10000 / 10);
  return text::EncodeDateTime(parts);
}

}  // namespace

TIBXSQLVAR::TIBXSQLVAR(TIBXSQLDA& owner, int index) : owner_(owner), index_(index) {}
TIBXSQLVAR::~TIBXSQLVAR() = default;

void* TIBXSQLVAR::Descriptor() const {
  return &owner_.GetImpl().Var(index_);
}
const std::string& TIBXSQLVAR::Name() const {
  return owner_.NameAt(index_);
}
int TIBXSQLVAR::SQLType() const {
  return ib::BaseType(Xvar(*this));
}
int TIBXSQLVAR::SQLScale() const {
  return Xvar(*this).sqlscale;
}
int TIBXSQLVAR::SQLLen() const {
  return Xvar(*this).sqllen;
}
bool TIBXSQLVAR::IsNullable() const {
  return ib::IsNullable(Xvar(*this));
}
bool TIBXSQLVAR::IsNull() const {
  const XSQLVAR& v = Xvar(*this);
  return ib::IsNullable(v) && v.sqlind != nullptr && *v.sqlind == -1;
}

int TIBXSQLVAR::GetInteger() const {
  if (IsNull()) return 0;
  const XSQLVAR& v = Xvar(*this);
  switch (ib::BaseType(v)) {
    case SQL_TEXT:
    case SQL_VARYING: {
      int value = 0;
      if (!text::TryStrToInt(text::Trim(GetText()), value)) IBError(ibxeInvalidDataConversion);
      return value;
    }
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64: {
      long long value = ScaledInteger(v);
      for (int s = v.sqlscale; s < 0; ++s) value /= 10;
      for (int s = v.sqlscale; s > 0; --s) value *= 10;
      return CheckedInt(value);
    }
    case SQL_DOUBLE:
    case SQL_FLOAT:
    case SQL_D_FLOAT: {
      double value = std::trunc(FloatValue(v));
      if (!(value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max()))
        IBError(ibxeInvalidDataConversion);
      return static_cast<int>(value);
    }
    default:
      IBError(ibxeInvalidDataConversion);
  }
}

std::string TIBXSQLVAR::GetText() const {
  if (IsNull()) return std::string();
  const XSQLVAR& v = Xvar(*this);
  switch (ib::BaseType(v)) {
    case SQL_TEXT: {
      std::string s(v.sqldata, static_cast<size_t>(v.sqllen));
      s.erase(s.find_last_not_of(' ') + 1);
      return s;
    }
    case SQL_VARYING: {
      unsigned short length = Load<unsigned short>(v);
      return std::string(v.sqldata + 2, length);
    }
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64: {
      long long value = ScaledInteger(v);
      if (v.sqlscale == 0) return std::to_string(value);
      if (v.sqlscale >= -4) return text::ScaledToStr(value, v.sqlscale);
      return text::FloatToStr(static_cast<double>(value) * Power10(v.sqlscale));
    }
    case SQL_DOUBLE:
    case SQL_FLOAT:
    case SQL_D_FLOAT:
      return text::FloatToStr(FloatValue(v));
    case SQL_TIMESTAMP:
      return text::DateTimeToStr(FromTimestamp(Load<ISC_TIMESTAMP>(v)));
    case SQL_TYPE_DATE:
      return text::DateTimeToStr(FromTimestamp({Load<ISC_DATE>(v), 0}));
    case SQL_TYPE_TIME: {
      ISC_TIME time = Load<ISC_TIME>(v);
      return text::TimeToStr(static_cast<double>(time) / (86400.0 * 10000.0));
    }
    case SQL_BLOB: {
      std::string content;
      ReadBlobTo(content);
      return content;
    }
    case SQL_ARRAY:
      return "(Array)";
    default:
      IBError(ibxeInvalidDataConversion);
  }
}

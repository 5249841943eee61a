#pragma once
// The data types a field can have, shared by query results and in-memory record sets.

#include <QString>

enum class FieldType {
    Unknown,
    String,     // variable-length text
    FixedChar,  // fixed-length text (CHAR)
    WideString,
    SmallInt,
    Integer,
    LargeInt,   // 64-bit integer
    Float,
    Currency,
    Date,
    DateTime,
    Time,
    Boolean,
    Memo,
};

inline bool isStringType(FieldType t)
{
    return t == FieldType::String || t == FieldType::FixedChar || t == FieldType::WideString || t == FieldType::Memo;
}
inline bool isIntegerType(FieldType t)
{
    return t == FieldType::SmallInt || t == FieldType::Integer || t == FieldType::LargeInt;
}
inline bool isFloatType(FieldType t) { return t == FieldType::Float || t == FieldType::Currency; }
inline bool isDateType(FieldType t) { return t == FieldType::Date || t == FieldType::DateTime || t == FieldType::Time; }

#include "data/field.h"
#include "data/formats.h"
#include "data/recordset.h"

const FieldDef &Field::def() const
{
    return m_set->fieldDef(m_index);
}

QVariant Field::value() const
{
    return m_set->currentValue(m_index);
}

bool Field::isNull() const
{
    return value().isNull();
}

QString Field::asString() const
{
    const QVariant v = value();
    if (v.isNull())
        return {};
    const FieldType t = def().type;
    if (isFloatType(t))
        return Formats::floatText(v.toDouble());
    if (t == FieldType::Date)
        return Formats::dateText(v.toDateTime().date());
    if (t == FieldType::DateTime)
        return Formats::dateTimeText(v.toDateTime());
    if (v.typeId() == QMetaType::Double)
        return Formats::floatText(v.toDouble());
    return v.toString();
}

double Field::asFloat() const
{
    const QVariant v = value();
    if (v.isNull())
        return 0.0;
    if (v.typeId() == QMetaType::QString) {
        bool ok;
        const double d = v.toString().trimmed().toDouble(&ok);
        return ok ? d : 0.0;
    }
    return v.toDouble();
}

qint64 Field::asInteger() const
{
    const QVariant v = value();
    if (v.isNull())
        return 0;
    if (v.typeId() == QMetaType::Double)
        return qRound64(v.toDouble());
    return v.toLongLong();
}

QDateTime Field::asDateTime() const
{
    const QVariant v = value();
    if (v.isNull())
        return {};
    if (v.typeId() == QMetaType::QString)
        return Formats::parseDateTime(v.toString());
    if (v.typeId() == QMetaType::QDate)
        return Formats::dateTime(v.toDate());
    return v.toDateTime();
}

QString Field::displayText() const
{
    const QVariant v = value();
    if (!v.isNull() && isFloatType(def().type) && def().currency)
        return Formats::moneyText(v.toDouble());
    return asString();
}

void Field::setValue(const QVariant &v)
{
    m_set->setCurrentValue(m_index, v);
}

void Field::setAsString(const QString &text)
{
    m_set->setCurrentValue(m_index, text.isEmpty() ? QVariant() : QVariant(text));
}

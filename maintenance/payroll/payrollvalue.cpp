#include "maintenance/payroll/payrollvalue.h"
#include "data/formats.h"

#include <QRegularExpression>
#include <cmath>

namespace PayrollValue {

namespace {

// Codes and whole numbers a double holds exactly.
constexpr double kLargestWhole = 1e15;

std::optional<long long> wholeOf(double v)
{
    if (!std::isfinite(v) || std::floor(v) != v || std::fabs(v) >= kLargestWhole)
        return std::nullopt;
    return static_cast<long long>(v);
}

} // namespace

QString folded(const QString &text)
{
    QString out;
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    out.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.isLetterOrNumber())
            out.append(c.toLower());
    }
    return out;
}

QString shown(const PayrollCell &cell)
{
    switch (cell.kind) {
    case PayrollCell::Kind::Empty:
        return QString();
    case PayrollCell::Kind::Text:
        return cell.text.trimmed();
    case PayrollCell::Kind::Number:
        return Formats::floatText(cell.number);
    case PayrollCell::Kind::Date:
        return Formats::dateText(cell.date);
    }
    return QString();
}

std::optional<long long> whole(const PayrollCell &cell)
{
    if (cell.kind == PayrollCell::Kind::Number)
        return wholeOf(cell.number);
    if (cell.kind != PayrollCell::Kind::Text)
        return std::nullopt;
    static const QRegularExpression form(QStringLiteral("^([+-]?[0-9]{1,15})(?:[.,]0+)?$"));
    const auto m = form.match(cell.text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    return m.captured(1).toLongLong();
}

QString code(const PayrollCell &cell, int width)
{
    if (cell.kind == PayrollCell::Kind::Number) {
        const auto n = wholeOf(cell.number);
        if (n && *n >= 0)
            return QString::number(*n).rightJustified(width, u'0');
    }
    return shown(cell);
}

bool isDigits(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

AmountForm amount(const PayrollCell &cell, double *value)
{
    if (cell.kind == PayrollCell::Kind::Number) {
        *value = cell.number;
        return AmountForm::Number;
    }
    if (cell.kind != PayrollCell::Kind::Text)
        return AmountForm::NotANumber;
    static const QRegularExpression plain(QStringLiteral("^[+-]?([0-9]+)(?:[.,]([0-9]+))?$"));
    static const QRegularExpression grouped(
        QStringLiteral("^[+-]?[0-9]{1,3}([ .,'\\x{00A0}\\x{202F}])[0-9]{3}(?:\\1[0-9]{3})*(?:([.,])[0-9]+)?$"));
    const QString t = cell.text.trimmed();
    const auto m = plain.match(t);
    if (m.hasMatch()) {
        // One point or comma before exactly three digits, after at most three that do not
        // begin with 0: a thousand and some, or a figure with three decimals.
        if (m.captured(2).size() == 3 && m.captured(1).size() <= 3 && !m.captured(1).startsWith(u'0'))
            return AmountForm::Ambiguous;
        bool ok = false;
        *value = QString(t).replace(u',', u'.').toDouble(&ok);
        return ok ? AmountForm::Number : AmountForm::NotANumber;
    }
    const auto g = grouped.match(t);
    if (g.hasMatch() && g.captured(1) != g.captured(2))
        return AmountForm::Thousands;
    return AmountForm::NotANumber;
}

QDate date(const PayrollCell &cell)
{
    if (cell.kind == PayrollCell::Kind::Date)
        return cell.date;
    if (cell.kind != PayrollCell::Kind::Text)
        return QDate();
    static const QString time = QStringLiteral("(?:[ T][0-9]{1,2}:[0-9]{2}(?::[0-9]{2}(?:\\.[0-9]+)?)?)?$");
    static const QRegularExpression dayFirst(QStringLiteral("^([0-9]{1,2})([./])([0-9]{1,2})\\2([0-9]{4})") + time);
    static const QRegularExpression yearFirst(QStringLiteral("^([0-9]{4})-([0-9]{1,2})-([0-9]{1,2})") + time);
    const QString t = cell.text.trimmed();
    if (const auto m = dayFirst.match(t); m.hasMatch())
        return QDate(m.captured(4).toInt(), m.captured(3).toInt(), m.captured(1).toInt());
    if (const auto m = yearFirst.match(t); m.hasMatch())
        return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    return QDate();
}

int monthByName(const QString &text)
{
    static const QStringList names = {QStringLiteral("ianuarie"),   QStringLiteral("februarie"),
                                      QStringLiteral("martie"),     QStringLiteral("aprilie"),
                                      QStringLiteral("mai"),        QStringLiteral("iunie"),
                                      QStringLiteral("iulie"),      QStringLiteral("august"),
                                      QStringLiteral("septembrie"), QStringLiteral("octombrie"),
                                      QStringLiteral("noiembrie"),  QStringLiteral("decembrie")};
    return int(names.indexOf(folded(text))) + 1;
}

} // namespace PayrollValue

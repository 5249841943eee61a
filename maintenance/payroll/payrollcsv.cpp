#include "maintenance/payroll/payrollcsv.h"
#include "data/ee.h"
#include "maintenance/payroll/payrolllimits.h"
#include "maintenance/payroll/payrollmessages.h"
#include "maintenance/payroll/payrolltablebuilder.h"
#include "maintenance/payroll/payrolltextdecoder.h"

#include <array>
#include <map>

namespace {

// How many lines with something in them decide the separator.
constexpr int kSampleLines = 50;

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == QChar(0xA0);
}

} // namespace

QChar PayrollCsv::separatorOf(const QString &text)
{
    static constexpr std::array<char16_t, 3> candidates = {u';', u'\t', u','};
    std::array<std::map<int, int>, 3> linesWithCount; // per candidate: count on a line -> lines
    std::array<int, 3> onLine = {0, 0, 0};
    bool quoted = false, content = false;
    int lines = 0;
    auto endLine = [&] {
        if (content) {
            for (size_t k = 0; k < candidates.size(); ++k) {
                if (onLine[k] > 0)
                    ++linesWithCount[k][onLine[k]];
            }
            ++lines;
        }
        onLine = {0, 0, 0};
        content = false;
    };
    for (qsizetype i = 0; i < text.size() && lines < kSampleLines; ++i) {
        const QChar c = text.at(i);
        if (c == u'"') {
            quoted = !quoted;
            content = true;
        } else if (!quoted && (c == u'\n' || c == u'\r')) {
            endLine();
        } else if (!quoted) {
            for (size_t k = 0; k < candidates.size(); ++k) {
                if (c == candidates[k])
                    ++onLine[k];
            }
            if (!isBlank(c) && c != u';' && c != u',')
                content = true;
        }
    }
    endLine();
    QChar best = u';';
    int bestLines = 0, bestCount = 0;
    for (size_t k = 0; k < candidates.size(); ++k) {
        for (const auto &[count, agreeing] : linesWithCount[k]) {
            if (agreeing > bestLines || (agreeing == bestLines && count > bestCount)) {
                best = candidates[k];
                bestLines = agreeing;
                bestCount = count;
            }
        }
    }
    return best;
}

void PayrollCsv::read(const QByteArray &bytes, const QString &file, PayrollTable *table)
{
    const PayrollTextDecoder::Text decoded = PayrollTextDecoder::decode(bytes, file);
    const QString &text = decoded.text;
    const QChar separator = separatorOf(text);
    table->encoding = decoded.encoding;
    table->separator = separator;

    PayrollTableBuilder builder(file);
    int line = 1;       // the line being read
    int recordLine = 1; // the line the current record began on
    int quoteLine = 0;  // the line an open quote began on
    int column = 0;
    QString field;
    bool quoted = false, wasQuoted = false;
    auto endField = [&] {
        if (column < PayrollLimits::kColumns)
            builder.add(recordLine - 1, column, PayrollTableBuilder::textCell(field));
        else if (!field.trimmed().isEmpty())
            throw EE(PayrollMessages::tooManyColumns(file, recordLine));
        ++column;
        field.clear();
        wasQuoted = false;
    };
    auto append = [&](QChar c) {
        if (field.size() >= PayrollLimits::kCellChars)
            throw EE(PayrollMessages::cellTooLong(file, recordLine, column + 1));
        field.append(c);
    };
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        const bool lineEnd = c == u'\n' || c == u'\r';
        if (lineEnd && c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
            ++i; // CR LF is one line end
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < n && text.at(i + 1) == u'"') {
                    append(c);
                    ++i;
                } else {
                    quoted = false;
                }
            } else if (lineEnd) {
                append(u'\n');
                ++line;
            } else {
                append(c);
            }
            continue;
        }
        if (lineEnd) {
            endField();
            ++line;
            recordLine = line;
            column = 0;
            continue;
        }
        if (c == separator) {
            endField();
        } else if (c == u'"' && !wasQuoted && field.trimmed().isEmpty()) {
            // A quoted field; blanks before its quote are not part of it.
            field.clear();
            quoted = wasQuoted = true;
            quoteLine = line;
        } else if (wasQuoted && isBlank(c)) {
            // Blanks after the closing quote are not part of the field either.
        } else {
            append(c);
        }
    }
    if (quoted)
        throw EE(PayrollMessages::unclosedQuote(file, quoteLine));
    endField();
    builder.moveTo(table);
}

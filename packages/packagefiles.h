#pragma once
// The four text files of an electronic package, byte for byte as the receiving side reads them:
// Windows-1250, a 0xB0 byte after every field and CR LF after every line.

#include "packages/packageamounts.h"

#include <QByteArray>
#include <QSet>
#include <QDate>
#include <QString>

class RecordSet;

class PackageFiles
{
public:
    // What the header line says besides the totals.
    struct Header {
        int formType = 1;    // 1 primary, 3 correction
        QString year;        // four digits
        QString periodCode;  // T00, T01..T04, L01..L12
        qint64 office = 0;   // ea_kaa2_fosk
        QString agentCode;   // ea_fosk
        QString fiscalCode;  // ea_idno
        QString responsible; // ea_receiving_usr
        QDate date;          // the server date
    };

    // The files go to `folder`; `packages` is rev5_pl (pl_id, pl_nr, doc_cnt and the four
    // sums), `declarations` is rev5_na. Both are read in the order they are kept in.
    PackageFiles(const QString &folder, const Header &header, RecordSet *packages, RecordSet *declarations);

    // Raises EE, naming the person and the field, when a value that the files would hold
    // contains the separator byte, a line end, or a character the code page lacks. Declarations
    // without monthly rows are left out, as the files leave them out. writeSd() runs it before
    // the first file is written.
    void checkValues(RecordSet *monthlyRows) const;

    // REV5_SD from the monthly rows (by package, declaration and month), adding each
    // declaration's sums to its package in `packages`. Every row is also copied into `copies`
    // (recreated with the rows' fields) unless it is null.
    void writeSd(RecordSet *monthlyRows, RecordSet *copies = nullptr);
    // REV5_IP, one line per package, and the grand totals.
    void writeIp();
    // REV5_T, the header line with the grand totals of writeIp().
    void writeT();
    // REV5_NA, one line per declaration.
    void writeNa();

    const PackageAmounts &grandTotals() const { return m_grand; }

    // Money: two decimals after rounding to 10 significant digits (123456789.126 -> 123456789.10).
    static QString moneyText(double v);
    // A name as the package writes it: trimmed, upper-cased by the code page's letters, mapped.
    static QByteArray nameBytes(const QString &name);

private:
    QByteArray sdBytes(RecordSet *rows, bool addToPackages);
    void checkHeaderAndDeclarations(RecordSet *monthlyRows) const;
    QByteArray ipBytes();
    QByteArray tBytes() const;
    QByteArray naBytes(const QSet<qint64> *only = nullptr) const;
    void save(const QString &fileName, const QByteArray &bytes) const;

    QString m_folder;
    Header m_header;
    RecordSet *m_packages;
    RecordSet *m_declarations;
    PackageAmounts m_grand;
};

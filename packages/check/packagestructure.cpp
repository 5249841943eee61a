#include "packages/check/packagestructure.h"
#include "data/ee.h"
#include "packages/check/checkfindings.h"
#include "packages/check/packagebounds.h"
#include "packages/check/packagevalues.h"

using namespace PackageValues;

namespace {

const char Separator = '\xB0';

const PackageMember Sd = PackageMember::Sd, Ip = PackageMember::Ip, Na = PackageMember::Na, T = PackageMember::T;

} // namespace

template <typename Use>
void PackageStructure::forEachLine(PackageMember member, const QByteArray &data, int fieldCount, Use &&use)
{
    const View all(data.constData(), size_t(data.size()));
    FileLine l;
    size_t pos = 0;
    int number = 0;
    while (pos < all.size()) {
        ++number;
        size_t end = all.find('\n', pos);
        const bool lastWithoutEnd = end == View::npos;
        if (lastWithoutEnd)
            end = all.size();
        View line = all.substr(pos, end - pos);
        pos = end + 1;
        if (lastWithoutEnd)
            m_findings.add(member, number, 0, QStringLiteral("ultimul rînd nu se încheie cu CR LF"));
        else if (line.empty() || line.back() != '\r')
            m_findings.add(member, number, 0, QStringLiteral("rîndul se încheie cu LF fără CR înainte"));
        else
            line.remove_suffix(1);

        // The fields, and the first byte that is no Windows-1250 text: a control character or
        // one of the five undefined codes. Every field is followed by the separator; a line
        // without the last one is reported and read as if it were there.
        l.clear();
        l.number = number;
        bool badByte = false;
        size_t start = 0;
        qint64 fields = 0; // only the member's number of them are kept
        for (size_t i = 0; i < line.size(); ++i) {
            const auto b = static_cast<unsigned char>(line[i]);
            if (b == 0xB0) {
                if (++fields <= fieldCount)
                    l.fields.push_back(line.substr(start, i - start));
                start = i + 1;
            } else if (!badByte
                       && (b < 0x20 || b == 0x7F || b == 0x81 || b == 0x83 || b == 0x88 || b == 0x90 || b == 0x98)) {
                badByte = true;
                m_findings.add(member, number, 0, [b] {
                    return QStringLiteral("rîndul conține octetul 0x%1, care nu este un caracter al textului "
                                          "Windows-1250")
                        .arg(QString::number(b, 16).toUpper().rightJustified(2, u'0'));
                });
            }
        }
        if (start < line.size() && ++fields <= fieldCount)
            l.fields.push_back(line.substr(start));
        if (line.empty() || line.back() != Separator)
            m_findings.add(member, number, 0, QStringLiteral("rîndul nu se încheie cu separatorul ° (0xB0)"));
        if (fields != fieldCount) {
            m_findings.add(member, number, 0, [&] {
                return QStringLiteral("rîndul are %1 cîmpuri în loc de %2").arg(fields).arg(fieldCount);
            });
            continue;
        }
        use(l);
    }
}

void PackageStructure::run(const PackageCheck::Members &members, const QSet<QString> &unread,
                           const std::vector<PackageRules *> &rules)
{
    m_rules = rules;
    const PackageMember expected[4] = {T, Ip, Na, Sd};
    const QByteArray *found[PackageMembers::Count] = {};
    bool present[PackageMembers::Count] = {};
    for (const auto &member : members) {
        const QString &name = member.first;
        const int at = PackageMembers::order(name);
        if (at == 0 || at >= PackageMembers::Count) {
            m_findings.add(PackageMember::Archive, 0, 0, [&] {
                return QStringLiteral("arhiva conține „%1”, care nu face parte din pachet").arg(name);
            });
            continue;
        }
        if (present[at]) {
            m_findings.add(PackageMember::Archive, 0, 0,
                           [&] { return QStringLiteral("membrul %1 apare de mai multe ori în arhivă").arg(name); });
            continue;
        }
        present[at] = true;
        if (!unread.contains(name))
            found[at] = &member.second;
    }
    for (const QString &name : unread)
        present[PackageMembers::order(name) % PackageMembers::Count] = true;
    for (PackageMember m : expected)
        if (!present[int(m)])
            m_findings.add(PackageMember::Archive, 0, 0,
                           [&] { return QStringLiteral("lipsește membrul %1").arg(PackageMembers::name(m)); });

    if (const QByteArray *sd = found[int(Sd)])
        readSd(*sd);
    if (const QByteArray *ip = found[int(Ip)])
        readIp(*ip);
    if (const QByteArray *na = found[int(Na)])
        readNa(*na);
    if (const QByteArray *t = found[int(T)]) {
        int ipLines = -1;
        if (const QByteArray *ip = found[int(Ip)]) {
            ipLines = int(ip->count('\n'));
            if (!ip->isEmpty() && !ip->endsWith('\n'))
                ++ipLines;
        }
        readT(*t, ipLines);
    }
}

void PackageStructure::readSd(const QByteArray &data)
{
    forEachLine(Sd, data, 13, [&](const FileLine &l) {
        for (PackageRules *r : m_rules)
            r->sdLine(l);
        const auto id = wholeNumber(l.field(1));
        const auto package = wholeNumber(l.field(2));
        if (l.field(3) != View("13")) {
            if (m_open && id && *id != m_open->id)
                endDeclaration(nullptr);
            if (!m_open) {
                m_open = SdDeclaration{id.value_or(-1), package.value_or(-1), l.number, l.number};
                if (id && m_sdDeclarations.contains(*id))
                    m_findings.add(Sd, l.number, 1, [&] {
                        return QStringLiteral("declarația %1 apare a doua oară (prima dată pe rîndul %2)")
                            .arg(*id)
                            .arg(m_sdDeclarations.value(*id).line);
                    });
                m_openRows = 0;
                for (PackageRules *r : m_rules)
                    r->sdBegin(*m_open);
            } else if (package && *package != m_open->package) {
                m_findings.add(Sd, l.number, 2, [&] {
                    return QStringLiteral(
                               "numărul pachetului %1 diferă de cel al rîndurilor anterioare ale declarației (%2)")
                        .arg(*package)
                        .arg(m_open->package);
                });
            }
            m_open->lastLine = l.number;
            if (++m_openRows == PackageBounds::RowsPerDeclaration + 1)
                m_findings.add(Sd, l.number, 0, [&] {
                    return QStringLiteral("declarația %1 are mai mult de %2 rînduri lunare")
                        .arg(m_open->id)
                        .arg(PackageBounds::RowsPerDeclaration);
                });
            for (PackageRules *r : m_rules)
                r->sdRow(l, *m_open);
            return;
        }

        // The total line of a declaration.
        if (!m_open) {
            m_findings.add(Sd, l.number, 0, QStringLiteral("rîndul total nu urmează după rîndurile declarației sale"));
            return;
        }
        if (id && *id != m_open->id) {
            m_findings.add(Sd, l.number, 1, [&] {
                return QStringLiteral("rîndul total al declarației %1 urmează după rîndurile declarației %2")
                    .arg(*id)
                    .arg(m_open->id);
            });
            endDeclaration(nullptr);
            return;
        }
        if (package && *package != m_open->package)
            m_findings.add(Sd, l.number, 2, [&] {
                return QStringLiteral("numărul pachetului %1 diferă de cel al rîndurilor declarației (%2)")
                    .arg(*package)
                    .arg(m_open->package);
            });
        endDeclaration(&l);
    });
    if (m_open)
        endDeclaration(nullptr);
    for (PackageRules *r : m_rules)
        r->sdDone();
}

void PackageStructure::endDeclaration(const FileLine *total)
{
    const SdDeclaration &d = *m_open;
    if (!total)
        m_findings.add(Sd, d.lastLine, 0, [&] {
            return QStringLiteral("după rîndurile declarației %1 lipsește rîndul ei total").arg(d.id);
        });
    if (++m_sdCount > PackageBounds::Declarations)
        throw EE(QStringLiteral("REV5_SD are mai mult de %1 de declarații, mai multe decît poate avea un pachet "
                                "electronic")
                     .arg(PackageBounds::Declarations));
    if (d.id >= 0 && !m_sdDeclarations.contains(d.id))
        m_sdDeclarations.insert(d.id, SdEntry{d.package, d.firstLine});
    for (PackageRules *r : m_rules)
        r->sdEnd(d, total);
    m_open.reset();
}

void PackageStructure::readIp(const QByteArray &data)
{
    QHash<qint64, int> seen;
    int lines = 0;
    forEachLine(Ip, data, 7, [&](const FileLine &l) {
        if (++lines > PackageBounds::Packages)
            throw EE(QStringLiteral("REV5_IP are mai mult de %1 de pachete, mai multe decît poate avea un pachet "
                                    "electronic")
                         .arg(PackageBounds::Packages));
        if (const auto package = wholeNumber(l.field(1))) {
            if (seen.contains(*package))
                m_findings.add(Ip, l.number, 1, [&] {
                    return QStringLiteral("numărul pachetului %1 se repetă (prima dată pe rîndul %2)")
                        .arg(*package)
                        .arg(seen.value(*package));
                });
            else
                seen.insert(*package, l.number);
        }
        for (PackageRules *r : m_rules)
            r->ipLine(l);
    });
    for (PackageRules *r : m_rules)
        r->ipDone();
}

void PackageStructure::readNa(const QByteArray &data)
{
    qint64 previous = -1;
    int lines = 0;
    forEachLine(Na, data, 13, [&](const FileLine &l) {
        if (++lines > PackageBounds::Declarations)
            throw EE(QStringLiteral("REV5_NA are mai mult de %1 de declarații, mai multe decît poate avea un pachet "
                                    "electronic")
                         .arg(PackageBounds::Declarations));
        if (const auto id = wholeNumber(l.field(1))) {
            if (m_naDeclarations.contains(*id))
                m_findings.add(Na, l.number, 1, [&] {
                    return QStringLiteral("declarația %1 apare a doua oară (prima dată pe rîndul %2)")
                        .arg(*id)
                        .arg(m_naDeclarations.value(*id));
                });
            else
                m_naDeclarations.insert(*id, l.number);
            if (*id < previous)
                m_findings.add(Na, l.number, 1,
                               QStringLiteral("declarațiile trebuie să urmeze în ordinea crescătoare a numerelor"));
            previous = *id;
        }
        for (PackageRules *r : m_rules)
            r->naLine(l);
    });
    for (PackageRules *r : m_rules)
        r->naDone();
}

void PackageStructure::readT(const QByteArray &data, int ipLines)
{
    if (data.isEmpty())
        m_findings.add(T, 0, 0, QStringLiteral("fișierul este gol; trebuie să aibă un rînd"));
    int read = 0;
    forEachLine(T, data, 14, [&](const FileLine &l) {
        if (++read == 2)
            m_findings.add(T, l.number, 0, QStringLiteral("fișierul trebuie să aibă un singur rînd"));
        if (read == 1)
            for (PackageRules *r : m_rules)
                r->tLine(l, ipLines);
    });
}

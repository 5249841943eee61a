// Electronic packages formed by the program from data sets drawn from a seed: amounts from
// 0.005 to 9 999 999 999.99 with more decimals than the files keep, every category with rules
// of its own, names with diacritics, rows with nothing to send, several packages, the whole
// year, quarters and months, primary and correction. The check of the receiving side finds
// nothing in any of the archives. A failure names its seed; EVD_PACKAGE_SEED=N runs that data
// set alone.

#include "data/ee.h"
#include "packages/electronicpackage.h"
#include "packages/packagecheck.h"
#include "tests/packages/electronicpackagefixture.h"

#include <cmath>
#include <random>

namespace {

// Draws of one data set.
class Draw
{
public:
    explicit Draw(quint64 seed) : m_rng(seed) { }

    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_rng); }
    bool chance(double p) { return std::bernoulli_distribution(p)(m_rng); }
    template <typename T> const T &pick(std::initializer_list<T> values)
    {
        return values.begin()[between(0, int(values.size()) - 1)];
    }
    QString digits(int n)
    {
        QString out;
        for (int i = 0; i < n; ++i)
            out += QChar(u'0' + between(i == 0 ? 1 : 0, 9));
        return out;
    }
    // An amount spread over the magnitudes from 0.005 to 9 999 999 999.99, with a third
    // decimal below a thousand million, as an SQL literal.
    QString amount()
    {
        if (chance(0.05))
            return QStringLiteral("0.005");
        if (chance(0.05))
            return QStringLiteral("9999999999.99");
        if (chance(0.05))
            return QStringLiteral("123456789.126");
        const double v = std::pow(10.0, std::uniform_real_distribution<double>(std::log10(0.005), 10)(m_rng));
        return v >= 1e9 ? QString::number(std::min(v, 9999999999.99), 'f', 2) : QString::number(v, 'f', 3);
    }

private:
    std::mt19937_64 m_rng;
};

QString quoted(const QString &s)
{
    return u'\'' + QString(s).replace(u'\'', QStringLiteral("''")) + u'\'';
}

QString dateLiteral(const QDate &d)
{
    return quoted(d.toString(QStringLiteral("dd.MM.yyyy")));
}

class RandomPackagesTest : public ElectronicPackageFixture
{
protected:
    struct Period {
        int year, item, formType;
        int firstMonth, lastMonth;
    };

    Period drawPeriod(Draw &d)
    {
        switch (d.between(0, 3)) {
        case 0:
            return {2012, 0, 1, 1, 12};
        case 1: {
            const int quarter = d.between(0, 4);
            return quarter == 4 ? Period{2014, 4, 1, 1, 12}
                                : Period{2014, quarter, 1, 3 * quarter + 1, 3 * quarter + 3};
        }
        default: {
            const int item = d.between(0, 12);
            if (item == 12)
                return {2016, 12, 1, 1, 12};
            return {2016, item, d.chance(0.5) ? 3 : 1, item + 1, item + 1};
        }
        }
    }

    void drawPerson(Draw &d, int id)
    {
        auto name = [&] {
            return d.pick<QString>({"ţară", "Ştefan", "Mărgărit", "Îngerul", "ârca", "popescu", "ION", "Ana-Maria",
                                    "ȘTEFĂNESCU", "țurcanu", "Dumitraşcu-Văleanu Constantin Alexandru Gheorghe Ion"});
        };
        const QDate birth = QDate(1940, 1, 1).addDays(d.between(0, 22000));
        QString idnp = d.chance(0.7) ? quoted(d.digits(13)) : QStringLiteral("null");
        QString type = QStringLiteral("null"), seria = QStringLiteral("null"), number = QStringLiteral("null");
        switch (d.between(0, 3)) {
        case 1:
            type = QStringLiteral("0");
            break;
        case 2: // identity card: personal number, two letters of series, eight digits at most
            type = QStringLiteral("1");
            idnp = quoted(d.digits(13));
            seria = quoted(d.pick<QString>({"A", "ab", "Ăb"}).left(2));
            number = quoted(d.digits(d.between(1, 8)));
            break;
        case 3:
            type = QStringLiteral("3");
            number = quoted(d.digits(d.between(1, 8)));
            break;
        }
        const QString who = d.chance(0.5) ? quoted(d.pick<QString>({"OF. 12", "Oficiul de stare civilă Chişinău"}))
                                          : QStringLiteral("null");
        const QString issued = d.chance(0.7) ? dateLiteral(birth.addDays(d.between(1, 15000))) : QStringLiteral("null");
        insert(
            QStringLiteral("insert into assured_person (ap_id,ap_ea,ap_cpas,ap_first_name,ap_middle_name,ap_last_name,"
                           "ap_birth_dt,ap_idnp,ap_doc_type,ap_doc_seria,ap_doc_number,ap_idnp_who,ap_idnp_dt) "
                           "values(%1,1,%2,%3,%4,%5,%6,%7,%8,%9,%10,%11,%12)")
                .arg(id)
                .arg(quoted(d.digits(11)), quoted(name()), quoted(name()),
                     d.chance(0.5) ? quoted(name()) : QStringLiteral("null"), dateLiteral(birth), idnp, type, seria,
                     number)
                .arg(who, issued));
    }

    // The rows of a declaration in one month: one, sometimes a second of another category,
    // sometimes rows of the other form type that the package leaves out.
    void drawRows(Draw &d, int na, const Period &p, int month, int *sdId)
    {
        const QDate first(p.year, month, 1), last = first.addMonths(1).addDays(-1);
        const int rows = d.chance(0.3) ? 2 : 1;
        int previousCategory = 0;
        for (int r = 0; r < rows; ++r) {
            int category;
            do
                category = d.pick({101, 101, 101, 105, 150, 153, 154, 157, 158});
            while (category == previousCategory);
            previousCategory = category;
            QDate from = first.addDays(d.between(0, 9)), until = last.addDays(-d.between(0, 9));
            QString fond = d.amount(), ill = QStringLiteral("0"), add = d.amount(), ea = d.amount();
            if (d.chance(0.15)) // nothing to send, unless the category is sent even so
                fond = add = ea = QStringLiteral("0");
            if ((category == 105 || category == 153) && d.chance(0.3)) { // an earlier month's period
                from = first.addMonths(-1);
                until = first.addDays(-1);
            }
            if (category == 153 || category == 154 || ((category == 101 || category == 105) && d.chance(0.2)))
                ill = fond;
            if (category == 157 || category == 158) {
                fond = ill = add = ea = QStringLiteral("0");
                until = from.addDays(d.between(0, 120));
            }
            const int formType = p.year >= 2015 && d.chance(0.2) ? 4 - p.formType : p.formType;
            insert(rowInsert(++*sdId, na, month, fond, ill, add, ea, dateLiteral(from), dateLiteral(until),
                             d.pick<QString>({"null", "2141", "111201"}), d.pick({5, 6}), category, formType));
        }
    }

    Period drawDataSet(quint64 seed)
    {
        Draw d(seed);
        const Period p = drawPeriod(d);
        int person = 1000, declaration = 5000, sdId = 0;
        const int packages = d.between(1, 4);
        for (int number = 1; number <= packages; ++number) {
            insert(packageInsert(500 + number, number, p.year));
            for (int k = d.between(1, 6); k > 0; --k) {
                drawPerson(d, ++person);
                insert(declarationInsert(++declaration, person, 500 + number, p.year));
                for (int month = p.firstMonth; month <= p.lastMonth; ++month)
                    if (p.firstMonth == p.lastMonth || d.chance(0.8))
                        drawRows(d, declaration, p, month, &sdId);
            }
        }
        flush();
        return p;
    }

    // The data set's statements go to the database a block at a time.
    void insert(const QString &sql)
    {
        m_inserts << sql;
        if (m_inserts.size() == 100)
            flush();
    }
    void flush()
    {
        if (!m_inserts.isEmpty())
            exec(QStringLiteral("execute block as begin ") + m_inserts.join(QStringLiteral("; "))
                 + QStringLiteral("; end"));
        m_inserts.clear();
    }
    QStringList m_inserts;

    void clear()
    {
        for (const char *table : {"saldo_data", "name_account", "packlabel", "t_pachet"})
            exec(QStringLiteral("delete from %1").arg(QLatin1String(table)));
        exec("delete from assured_person where ap_id>=1000");
    }

    // Forms the period and checks the filed archive: its findings, or why there is none.
    QStringList formAndCheck(const Period &p)
    {
        ws.year = QString::number(p.year);
        QString filed;
        try {
            PackagePeriod period;
            period.choose(p.year, p.item, p.formType);
            filed = ElectronicPackage::form(period, p.formType, false);
        } catch (const EE &e) {
            return {QStringLiteral("refused: ") + e.message()};
        }
        if (filed.isEmpty())
            return {}; // every row of the period was zero: nothing to send
        const PackageCheck::Result result = PackageCheck::checkArchive(filed, nullptr);
        QStringList findings;
        for (const PackageFinding &f : result.findings)
            findings << f.text();
        if (!result.readable)
            findings << QStringLiteral("unreadable");
        return findings;
    }
};

TEST_F(RandomPackagesTest, EveryPackageFormedFromDrawnDataPassesTheCheck)
{
    // A pay fund of nine integer digits keeps one decimal: the package's figure is the
    // declarations' sums rounded once, not the sum of their rounded totals.
    package(40, 1, 2016);
    Draw names(1);
    drawPerson(names, 1000);
    drawPerson(names, 1001);
    flush();
    declaration(200, 1000, 40, 2016);
    declaration(201, 1001, 40, 2016);
    row(1, 200, 3, "123456789.126", "0", "0.004", "10.005", "'01.03.2016'", "'31.03.2016'", "2141", 5, 101);
    row(2, 201, 3, "6254.52", "0", "375.27", "1438.54", "'01.03.2016'", "'31.03.2016'", "2141", 5, 101);
    EXPECT_EQ(formAndCheck({2016, 2, 1, 3, 3}).join(u'\n').toStdString(), "");
    EXPECT_TRUE(members(program("Primara/REV5_1234567_00101_2016L03.RAR"))
                    .value("REV5_IP")
                    .startsWith("1\xB0"
                                "2\xB0"
                                "123463043.60\xB0"));

    const QByteArray only = qgetenv("EVD_PACKAGE_SEED");
    const quint64 firstSeed = only.isEmpty() ? 20240611 : only.toULongLong();
    const int dataSets = only.isEmpty() ? 24 : 1;
    for (quint64 seed = firstSeed; seed < firstSeed + dataSets; ++seed) {
        SCOPED_TRACE(testing::Message() << "EVD_PACKAGE_SEED=" << seed);
        clear();
        const Period p = drawDataSet(seed);
        EXPECT_EQ(formAndCheck(p).join(u'\n').toStdString(), "")
            << p.year << ", period " << p.item << ", form type " << p.formType;
    }
}

} // namespace

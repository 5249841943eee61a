#include "reports/declarationform.h"
#include "data/ee.h"
#include "data/formats.h"
#include "data/ibquery.h"
#include "data/readscope.h"
#include "data/tdm.h"
#include "platform/clock.h"
#include "platform/userinteraction.h"
#include "reports/engine/report.h"
#include "reports/packagelist.h"
#include "reports/recordsetreportsource.h"

#include <QScopeGuard>

namespace DeclarationForm {

namespace {

const int kAll = ReportElement::AllSides;
const QString kDecimals = QStringLiteral("#############.##");

// The fields of a query's columns, in its order.
void defineFrom(RecordSet *set, IbQuery *q)
{
    set->clearFields();
    for (const IbColumn &c : q->columns())
        set->addField(c.name, c.type, isStringType(c.type) ? c.size : 0);
}

std::vector<QVariant> currentRow(IbQuery *q, int width)
{
    std::vector<QVariant> values(static_cast<size_t>(width));
    for (int i = 0; i < q->columnCount(); ++i)
        values[size_t(i)] = q->value(i);
    return values;
}

// "Ziua", "Luna", "Anul" in boxes, taken from the text dd.mm.yyyy of a date.
void dayMonthYear(ReportBand &band, double x, double y, const QString &date)
{
    const struct {
        const char *caption;
        int start, length;
        double width;
    } parts[] = {{"Ziua", 1, 2, 8}, {"Luna", 4, 2, 8}, {"Anul", 7, 4, 14}};
    for (const auto &p : parts) {
        band.label(x, y, 10, 5, QString::fromLatin1(p.caption)).right().size(7);
        band.expression(x + 11, y, p.width, 5, QStringLiteral("COPY(%1,%2,%3)").arg(date).arg(p.start).arg(p.length))
            .center()
            .frame(kAll);
        x += 21;
    }
}

} // namespace

QString monthlyHeaderStatement(const QString &year, const QString &declarationId)
{
    return QStringLiteral(" select * from econ_agent,name_account,k_tariff_ap,assured_person  Left outer join "
                          "k_id_doc_type on (kidt_id=ap_doc_type)  where ea_id=ap_ea and ap_id=na_ap and na_year=")
           + year + QStringLiteral(" and na_id=") + declarationId
           + QStringLiteral("  and (ktap_id=na_ap_category)  order by na_id ");
}

QString monthlyRowsStatement(const QString &declarationId, const QString &month)
{
    return QStringLiteral(" select  sd_id, sd_na ,sd_month, sd_paym_fond,sd_ill, sd_sum_add,sd_dela_d,sd_pina_d,"
                          "sd_sum_add_ea,sd_zile_n,  KM_NAME_RO,sd_ap_category,sd_position,sd_kft_rf  from saldo_data  "
                          "left outer join  k_month  on (sd_month=km_id) where ")
           + QStringLiteral(" sd_na=") + declarationId + QStringLiteral(" and sd_month=") + month
           + QStringLiteral(" order by sd_na,sd_dela_d ");
}

QString packageHeaderStatement(Scope scope, const QString &packageId, const QString &declarationId)
{
    if (scope == Scope::Package)
        return QStringLiteral(" select * from packlabel,econ_agent,name_account,k_tariff_ap,assured_person  Left "
                              "outer join k_id_doc_type on (kidt_id=ap_doc_type)  where ea_id=ap_ea and ap_id=na_ap "
                              "and  na_pl=pl_id  and pl_id=")
               + packageId + QStringLiteral(" and (ktap_id=na_ap_category) order by na_id ");
    return QStringLiteral(" select * from packlabel,econ_agent,name_account,k_tariff_ap, assured_person Left outer "
                          "join k_id_doc_type on (kidt_id=ap_doc_type)  where ea_id=ap_ea and ap_id=na_ap  and  "
                          "na_pl=pl_id  and pl_id=")
           + packageId + QStringLiteral(" and  na_id =") + declarationId
           + QStringLiteral(" and (ktap_id=na_ap_category) order by na_id ");
}

QString packageRowsStatement(Scope scope, const QString &packageId, const QString &declarationId,
                             const QString &quarter)
{
    QString condition = QStringLiteral(" sd_na in (select na_id from name_account ") + QStringLiteral(" where na_pl=")
                        + packageId;
    if (scope == Scope::Declaration)
        condition += QStringLiteral(" and  na_id =") + declarationId;
    condition += u')';
    return QStringLiteral(" select  sd_na ,99 as sd_month,sum(sd_paym_fond) as sd_paym_fond, sum(sd_ill) as sd_ill,"
                          "sum(sd_sum_add) as sd_sum_add,sd_dela_d,sd_pina_d, sum(sd_sum_add_ea) as sd_sum_add_ea,"
                          "sd_zile_n, ")
           + QStringLiteral("'km_name_ro'") + QStringLiteral(" as km_name_ro,sd_ap_category,sd_position ")
           + QStringLiteral(" from saldo_data ")
           + QStringLiteral(" left outer join  k_month  on (sd_month=km_id) where ") + condition + quarter
           + QStringLiteral(" group by  sd_na ,sd_dela_d,sd_pina_d,")
           + QStringLiteral(" sd_zile_n,sd_ap_category,sd_position ") + QStringLiteral(" order by sd_na,sd_dela_d ");
}

QString quarterCondition(bool ticked, const QString &text)
{
    const QString number = text.trimmed();
    if (!ticked || number.isEmpty())
        return {};
    bool whole = false;
    const int quarter = number.toInt(&whole);
    if (!whole)
        throw EE(QStringLiteral("Indicati trimestrul corect (1 - 4) !"));
    switch (quarter) {
    case 1:
        return QStringLiteral(" and sd_month between 1 and 3 ");
    case 2:
        return QStringLiteral(" and sd_month between 4 and 6 ");
    case 3:
        return QStringLiteral(" and sd_month between 7 and 9 ");
    case 4:
        return QStringLiteral(" and sd_month between 10 and 12");
    default:
        return {};
    }
}

QString monthName(int month)
{
    static const char *const names[] = {"Ianuarie", "Februarie", "Martie",     "Aprilie",   "Mai",       "Iunie",
                                        "Iulie",    "August",    "Septembrie", "Octombrie", "Noiembrie", "Decembrie"};
    return month >= 1 && month <= 12 ? QString::fromLatin1(names[month - 1]) : QString();
}

void buildPerson(IbQuery *header, bool blankPublicN)
{
    RecordSet *person = DM->person;
    defineFrom(person, header);
    const int width = person->fieldCount();
    for (const char *mark : {"na_ft1", "na_ft2", "na_ft3"})
        person->addField(QString::fromLatin1(mark), FieldType::String, 1);
    person->createDataSet();
    const int formType = header->columnIndex(QStringLiteral("na_kft_rf"));
    const int publicService = header->columnIndex(QStringLiteral("na_public"));
    for (; !header->eof(); header->next()) {
        std::vector<QVariant> row = currentRow(header, person->fieldCount());
        if (blankPublicN && publicService >= 0 && row[size_t(publicService)].toString().trimmed() == u"N")
            row[size_t(publicService)] = QVariant();
        const int kind = formType >= 0 ? row[size_t(formType)].toInt() : 0;
        if (kind == 1 || kind == 3 || kind == 5)
            row[size_t(width + kind / 2)] = QStringLiteral("X");
        person->appendValues(row);
    }
    person->endAppendValues();
    person->first();
}

void buildSaldo(IbQuery *rows, bool packagePrint)
{
    RecordSet *saldo = DM->saldo;
    defineFrom(saldo, rows);
    const int no = saldo->fieldCount();
    saldo->addField(QStringLiteral("no"), FieldType::Integer);
    saldo->createDataSet();

    auto column = [rows](const char *name) { return rows->columnIndex(QString::fromLatin1(name)); };
    const int declaration = column("sd_na"), fund = column("sd_paym_fond"), category = column("sd_ap_category"),
              monthText = column("km_name_ro"), from = column("sd_dela_d");
    const int amounts[] = {column("sd_ill"), column("sd_sum_add"), column("sd_sum_add_ea")};

    double fundSum = 0, sums[3] = {0, 0, 0};
    int counter = 0;
    while (!rows->eof()) {
        std::vector<QVariant> row = currentRow(rows, saldo->fieldCount());
        row[size_t(no)] = ++counter;
        if (packagePrint)
            row[size_t(monthText)] = monthName(row[size_t(from)].toDate().month());
        if (!packagePrint || row[size_t(category)].toDouble() != 150)
            fundSum += row[size_t(fund)].toDouble();
        for (int k = 0; k < 3; ++k)
            sums[k] += row[size_t(amounts[k])].toDouble();
        const QVariant current = row[size_t(declaration)];
        saldo->appendValues(row);
        rows->next();
        if (!rows->eof() && rows->value(declaration) == current)
            continue;
        std::vector<QVariant> total(size_t(saldo->fieldCount()));
        total[size_t(monthText)] = QStringLiteral("Total");
        total[size_t(fund)] = fundSum;
        for (int k = 0; k < 3; ++k)
            total[size_t(amounts[k])] = sums[k];
        total[size_t(declaration)] = current;
        saldo->appendValues(total);
        fundSum = sums[0] = sums[1] = sums[2] = 0;
        counter = 0;
    }
    saldo->endAppendValues();
}

void build(Report &report, ReportSource &person, ReportSource &saldo, const QString &year, Period period)
{
    report.setName(QStringLiteral("Declaraţia persoanei asigurate"));
    report.setToday(Clock::today());
    report.setSource(QStringLiteral("person"), &person);
    report.setMargins(QMarginsF(10, 8, 10, 8));
    report.setPrintWhenEmpty(true);

    ReportBand &d = report.detail(139).newPagePerRow();
    d.label(150, 0, 20, 6, QStringLiteral("Formular")).right().size(8);
    d.label(171, 0, 19, 6, QStringLiteral("REV5")).center().bold().frame(kAll);
    d.label(0, 8, 150, 7, QStringLiteral("Declaraţia persoanei asigurate pentru anul")).right().bold().size(12);
    d.label(151, 8, 30, 7, year).bold().size(12);

    d.label(0, 17, 45, 6, QStringLiteral("Perioada de gestiune")).bold();
    const bool monthly = period == Period::Month;
    d.label(50, 17, 10, 6, QStringLiteral("An")).right();
    d.label(61, 17, 6, 6, monthly ? QString() : QStringLiteral("x")).center().frame(kAll);
    d.label(70, 17, 12, 6, QStringLiteral("Lună")).right();
    d.label(83, 17, 6, 6, monthly ? QStringLiteral("x") : QString()).center().frame(kAll);

    // The employer.
    d.box(0, 25, 190, 20);
    d.label(2, 26, 120, 5, QStringLiteral("Date despre angajator")).bold();
    d.label(2, 32, 40, 5, QStringLiteral("Denumire angajator"));
    d.field(42, 32, 146, 5, QStringLiteral("ea_full_name")).frame(ReportElement::Bottom);
    d.label(2, 38, 25, 5, QStringLiteral("Cod FOSK"));
    d.field(27, 38, 40, 5, QStringLiteral("ea_fosk")).frame(ReportElement::Bottom);
    d.label(75, 38, 25, 5, QStringLiteral("Cod fiscal"));
    d.field(100, 38, 50, 5, QStringLiteral("ea_idno")).frame(ReportElement::Bottom);

    // The insured person.
    d.box(0, 47, 190, 44);
    d.label(2, 48, 120, 5, QStringLiteral("Date despre persoana asigurată ")).bold();
    d.label(2, 54, 75, 5, QStringLiteral("Cod personal  de  asigurări sociale (CPAS)"));
    d.field(77, 54, 40, 5, QStringLiteral("ap_cpas")).center().frame(kAll);
    d.label(2, 60, 20, 5, QStringLiteral("Numele"));
    d.field(22, 60, 60, 5, QStringLiteral("ap_first_name")).frame(ReportElement::Bottom);
    d.label(85, 60, 20, 5, QStringLiteral("Prenumele"));
    d.field(105, 60, 83, 5, QStringLiteral("ap_middle_name")).frame(ReportElement::Bottom);
    d.label(2, 66, 30, 5, QStringLiteral("Prenumele tatălui"));
    d.field(32, 66, 60, 5, QStringLiteral("ap_last_name")).frame(ReportElement::Bottom);
    d.label(95, 66, 12, 5, QStringLiteral("IDNP"));
    d.field(107, 66, 40, 5, QStringLiteral("ap_idnp")).center().frame(kAll);
    d.label(2, 72, 32, 5, QStringLiteral("Tipul documentului"));
    d.field(34, 72, 154, 5, QStringLiteral("kidt_name_ro")).frame(ReportElement::Bottom);
    d.label(2, 78, 12, 5, QStringLiteral("Seria"));
    d.field(14, 78, 25, 5, QStringLiteral("ap_doc_seria")).frame(ReportElement::Bottom);
    d.label(42, 78, 16, 5, QStringLiteral("Numărul"));
    d.field(58, 78, 30, 5, QStringLiteral("ap_doc_number")).frame(ReportElement::Bottom);
    d.label(92, 78, 15, 5, QStringLiteral("Eliberat"));
    d.field(107, 78, 81, 5, QStringLiteral("ap_idnp_who")).frame(ReportElement::Bottom);
    d.label(2, 84, 28, 5, QStringLiteral("Data eliberării"));
    dayMonthYear(d, 32, 84, QStringLiteral("person.ap_idnp_dt"));

    // Form type and public service.
    d.label(2, 93, 30, 6, QStringLiteral("Tip formular")).bold();
    d.field(34, 93, 6, 6, QStringLiteral("na_ft1")).center().frame(kAll);
    d.label(41, 93, 20, 6, QStringLiteral("primar"));
    d.field(64, 93, 6, 6, QStringLiteral("na_ft2")).center().frame(kAll);
    d.label(71, 93, 30, 6, QStringLiteral("de corectare"));
    d.field(104, 93, 6, 6, QStringLiteral("na_ft3")).center().frame(kAll);
    d.label(111, 93, 60, 6, QStringLiteral("pentru stabilirea pensiei"));
    d.label(2, 101, 30, 6, QStringLiteral("Serviciul public"));
    d.field(33, 101, 8, 6, QStringLiteral("na_public")).center().frame(kAll);
    d.label(45, 101, 12, 6, QStringLiteral("de la")).right();
    d.field(58, 101, 25, 6, QStringLiteral("na_public_d")).center().frame(ReportElement::Bottom);

    d.label(0, 109, 190, 6, QStringLiteral("Date despre salariu (venitul) asiguratului pe perioada de gestiune "))
        .bold();

    // The header of the monthly table, with the column numbers under the titles.
    struct Column {
        double width;
        const char *title;
        const char *field;
        bool decimals;
    };
    const Column columns[] = {
        {8, "", "no", false},
        {20, "Luna", "km_name_ro", false},
        {20, "De la data", "sd_dela_d", false},
        {20, "Pînâ la data", "sd_pina_d", false},
        {14, "Zile lucrătoa- re în săp- tămână", "sd_zile_n", false},
        {17, "Categotia persoanei asigurate", "SD_AP_CATEGORY", true},
        {16, "Codul funcţiei", "sd_position", true},
        {20, "Fond salarii şi alte recompense", "SD_PAYM_FOND", true},
        {17, "Inclusiv concediul medical", "SD_ILL", true},
        {19, "Contribuţii individuale de asigurare calculate", "sd_sum_add", true},
        {19, "Contribuţii  datorate de angajator calculate", "sd_sum_add_ea", true},
    };
    ReportSubDetail &lines = report.subDetail(QStringLiteral("saldo"),
                                              [&saldo](ReportSource &master) -> ReportSource * {
                                                  // saldo follows the current row of person, as its master link in the data module says.
                                                  DM->person->moveTo(master.currentRow());
                                                  return &saldo;
                                              });
    lines.printWhenEmpty();
    ReportBand &line = lines.detail(5);
    double x = 0;
    int number = 1;
    for (const Column &c : columns) {
        const QString title = QString::fromUtf8(c.title);
        if (number == 3)
            d.label(x, 116, 40, 6, QStringLiteral("Perioada de muncă")).center().bold().size(7).frame(kAll);
        if (number == 3 || number == 4)
            d.label(x, 122, c.width, 12, title).center().bold().size(7).wrap().frame(kAll).padding(0.3);
        else
            d.label(x, 116, c.width, 18, title).center().bold().size(7).wrap().frame(kAll).padding(0.3);
        d.label(x, 134, c.width, 5, QString::number(number)).center().size(7).frame(kAll);
        ReportElement &cell
            = line.field(x, 0, c.width, 5, QString::fromLatin1(c.field)).size(7).frame(kAll).padding(0.5);
        if (c.decimals)
            cell.format(kDecimals).right();
        else
            cell.center();
        x += c.width;
        ++number;
    }

    ReportBand &f = report.pageFooter(24);
    f.label(0, 2, 30, 5, QStringLiteral("Conducător AE"));
    f.field(30, 2, 80, 5, QStringLiteral("ea_director_name")).frame(ReportElement::Bottom);
    f.label(115, 2, 25, 5, QStringLiteral("Semnătura"));
    f.hline(140, 7, 40);
    f.label(0, 9, 30, 5, QStringLiteral("Contabil şef"));
    f.field(30, 9, 80, 5, QStringLiteral("ea_accountant_name")).frame(ReportElement::Bottom);
    f.label(115, 9, 25, 5, QStringLiteral("Semnătura"));
    f.hline(140, 14, 40);
    f.label(0, 16, 30, 5, QStringLiteral("Data completării"));
    dayMonthYear(f, 30, 16, QStringLiteral("DATE"));
    f.label(150, 16, 20, 5, QStringLiteral("L. Ş.")).center();
}

void prepareMonth()
{
    RecordSet *saldo = DM->saldo_data;
    const QVariant month = saldo->active() && !saldo->isEmpty() ? saldo->field(QStringLiteral("SD_MONTH")).value()
                                                                : QVariant();
    RecordSet *temp = DM->Temp;
    if (!temp->active())
        temp->createDataSet();
    if (!temp->isEditing()) {
        if (temp->isEmpty())
            temp->append();
        else
            temp->edit();
    }
    temp->field(QStringLiteral("km_rf")).setValue(month.isNull() ? 0 : month.toInt());
}

void printMonth()
{
    if (!DM->assured_person->active() || DM->assured_person->isEmpty())
        throw EE(QStringLiteral("Persoana nu are cpas sau nu exista !"));
    if (!DM->name_account->active() || DM->name_account->isEmpty())
        throw EE(QStringLiteral("Persoana nu are declaratie !"));
    const QString year = PackageList::year();
    const QString declaration = Formats::floatText(DM->name_account->field(QStringLiteral("na_id")).asFloat());
    const QString month = QString::number(DM->Temp->field(QStringLiteral("km_rf")).asInteger());
    const auto closeRows = qScopeGuard([] {
        DM->person->close();
        DM->saldo->close();
    });
    {
        ReadScope read(DM->IBQ1, monthlyHeaderStatement(year, declaration));
        if (!read.found())
            throw EE(QStringLiteral("Declaratia nu este !"));
        buildPerson(read.query(), false);
        read.reopen(monthlyRowsStatement(declaration, month));
        // The form type of the month is the first row's; with no row it is a correction.
        const bool primary = read.found() && read.value(QStringLiteral("sd_kft_rf")).toInt() == 1;
        RecordSet *person = DM->person;
        person->edit();
        for (const char *mark : {"na_ft1", "na_ft2", "na_ft3"})
            person->field(QString::fromLatin1(mark)).clear();
        person->field(primary ? QStringLiteral("na_ft1") : QStringLiteral("na_ft2")).setValue(QStringLiteral("X"));
        person->post();
        buildSaldo(read.query(), false);
    }
    RecordSetReportSource personRows(DM->person), saldoRows(DM->saldo);
    Report report;
    build(report, personRows, saldoRows, year, Period::Month);
    userInteraction().showReport(report);
}

void printPackage(Scope scope, bool quarterTicked, const QString &quarterText, bool preview)
{
    if (!DM->pachet->active() || DM->pachet->isEmpty())
        throw EE(QStringLiteral("Pachetul nu este ales  !"));
    if (scope == Scope::Declaration && (!DM->rev->active() || DM->rev->isEmpty()))
        throw EE(QStringLiteral("Introduceti numarul declaratiei  !"));
    const QString quarter = quarterCondition(quarterTicked, quarterText);
    const QString package = Formats::floatText(DM->pachet->field(QStringLiteral("pl_id")).asFloat());
    const QString declaration = scope == Scope::Declaration
                                    ? Formats::floatText(DM->rev->field(QStringLiteral("na_id")).asFloat())
                                    : QString();
    const auto closePerson = qScopeGuard([] { DM->person->close(); });
    {
        ReadScope read(DM->IBQ1, packageHeaderStatement(scope, package, declaration));
        if (!read.found())
            throw EE(QStringLiteral("Declaratia nu este !"));
        buildPerson(read.query(), true);
        read.reopen(packageRowsStatement(scope, package, declaration, quarter));
        buildSaldo(read.query(), true);
    }
    RecordSetReportSource personRows(DM->person), saldoRows(DM->saldo);
    Report report;
    build(report, personRows, saldoRows, PackageList::year(), Period::Year);
    if (preview)
        userInteraction().showReport(report);
    else
        userInteraction().printReport(report);
}

} // namespace DeclarationForm

#include "reports/officesheet.h"
#include "reports/officetext.h"
#include "data/ee.h"

#include <QDate>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>
#include <QUrl>
#include <QUuid>

#include <com/sun/star/awt/FontWeight.hpp>
#include <com/sun/star/awt/XTopWindow.hpp>
#include <com/sun/star/awt/XWindow.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/bridge/XUnoUrlResolver.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/document/MacroExecMode.hpp>
#include <com/sun/star/document/XEmbeddedScripts.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/lang/Locale.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/script/XLibraryContainer.hpp>
#include <com/sun/star/script/provider/XScript.hpp>
#include <com/sun/star/script/provider/XScriptProvider.hpp>
#include <com/sun/star/script/provider/XScriptProviderSupplier.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/table/XColumnRowRange.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <com/sun/star/util/XNumberFormats.hpp>
#include <com/sun/star/util/XNumberFormatsSupplier.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <rtl/bootstrap.hxx>

#include <map>

using namespace com::sun::star;
using rtl::OUString;
using uno::Any;
using uno::Reference;
using uno::Sequence;
using uno::UNO_QUERY;
using uno::UNO_QUERY_THROW;

namespace {

beans::PropertyValue property(const char *name, const Any &value)
{
    beans::PropertyValue p;
    p.Name = OUString::createFromAscii(name);
    p.Value = value;
    return p;
}

// The days since the spreadsheet's day zero (30.12.1899), as spreadsheets count dates.
double serial(const QDate &date)
{
    return double(QDate(1899, 12, 30).daysTo(date));
}

// The folder of the office's own runtime files, where its fundamental settings lie.
QString officeRuntimeFolder()
{
    const QString fromEnvironment = qEnvironmentVariable("UNO_PATH");
    if (!fromEnvironment.isEmpty() && QFileInfo::exists(fromEnvironment + QStringLiteral("/fundamentalrc")))
        return fromEnvironment;
    return QStringLiteral(EVD_OFFICE_PROGRAM_DIR);
}

// The component context of this process, made once; null when the office's runtime files are
// missing.
Reference<uno::XComponentContext> localContext()
{
    static Reference<uno::XComponentContext> *context = [] {
        auto *c = new Reference<uno::XComponentContext>;
        const QString rc = officeRuntimeFolder() + QStringLiteral("/fundamentalrc");
        if (!QFileInfo::exists(rc))
            return c;
        try {
            rtl::Bootstrap::set(OUString::createFromAscii("URE_BOOTSTRAP"), toOffice(QStringLiteral("vnd.sun.star.pathname:") + rc));
            *c = cppu::defaultBootstrap_InitialComponentContext();
        } catch (const uno::Exception &) {
        } catch (const cppu::BootstrapException &) {
        }
        return c;
    }();
    return *context;
}

// The office's context through the named pipe, or null when nothing listens there.
Reference<uno::XComponentContext> reach(const Reference<uno::XComponentContext> &local, const QString &pipe)
{
    try {
        Reference<bridge::XUnoUrlResolver> resolver = bridge::UnoUrlResolver::create(local);
        Reference<uno::XInterface> office = resolver->resolve(
            toOffice(QStringLiteral("uno:pipe,name=%1;urp;StarOffice.ComponentContext").arg(pipe)));
        return Reference<uno::XComponentContext>(office, UNO_QUERY);
    } catch (const connection::NoConnectException &) {
    } catch (const uno::RuntimeException &) {
    }
    return {};
}

bool running(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const qsizetype end = line.lastIndexOf(')');
    return end >= 0 && end + 2 < line.size() && line[end + 2] != 'Z';
}

// Reaches the office the user has open, or starts one: the office program is started with the
// request to listen on a new pipe; when an office already runs for the user, the program hands
// the request over to it and ends at once. Where no window can be seen, an office started runs
// without a display.
Reference<uno::XComponentContext> connectOffice(bool visible, QString *why)
{
    const QString program = OfficeSheet::officeProgram();
    const Reference<uno::XComponentContext> local = program.isEmpty() ? nullptr : localContext();
    if (!local.is()) {
        *why = QStringLiteral("LibreOffice nu este instalat");
        return {};
    }
    const QString pipe = QStringLiteral("evidenta_") + QUuid::createUuid().toString(QUuid::Id128);
    qint64 pid = 0;
    QStringList arguments{QStringLiteral("--nologo"), QStringLiteral("--nodefault"), QStringLiteral("--norestore"),
                          QStringLiteral("--nolockcheck"), QStringLiteral("--accept=pipe,name=%1;urp;").arg(pipe)};
    if (!visible)
        arguments.prepend(QStringLiteral("--headless"));
    if (!QProcess::startDetached(program, arguments, {}, &pid)) {
        *why = QStringLiteral("LibreOffice nu poate fi pornit");
        return {};
    }
    // A first start with a new profile takes a while; a program that ended without the pipe
    // coming up has failed.
    QDeadlineTimer deadline(60000);
    QDeadlineTimer afterExit = QDeadlineTimer::Forever;
    while (!deadline.hasExpired()) {
        if (Reference<uno::XComponentContext> office = reach(local, pipe); office.is())
            return office;
        if (afterExit.isForever() && !running(pid))
            afterExit.setRemainingTime(5000);
        if (afterExit.hasExpired())
            break;
        QThread::msleep(100);
    }
    *why = QStringLiteral("LibreOffice nu poate fi pornit");
    return {};
}

} // namespace

struct OfficeSheet::Impl
{
    Reference<lang::XComponent> document;
    Reference<frame::XModel> model;
    Reference<sheet::XSpreadsheet> sheet;
    Reference<util::XNumberFormats> formats;
    bool locked = false;
    bool shown = false;
    bool visible = true;
    bool cellByCell = false;
    int columns = 0;      // widest row written
    int lastRow = 0;      // last row written
    // Rows collected for the next block, from row `blockStart`.
    int blockStart = 0;
    std::vector<Sequence<Any>> block;
    // The columns that received dates, and whether any of them had a time of day: shown as
    // dates, or as dates with the time.
    std::map<int, bool> dateColumns;
    void noteDate(size_t index, const QDateTime &moment)
    {
        bool &withTime = dateColumns[int(index) + 1];
        withTime = withTime || moment.time() != QTime(0, 0);
    }

    sal_Int32 formatKey(const QString &code)
    {
        const lang::Locale locale(OUString::createFromAscii("en"), OUString::createFromAscii("US"), OUString());
        sal_Int32 key = formats->queryKey(toOffice(code), locale, false);
        if (key == -1)
            key = formats->addNew(toOffice(code), locale);
        return key;
    }
    Reference<beans::XPropertySet> columnRange(int first, int last)
    {
        Reference<table::XColumnRowRange> range(sheet->getCellRangeByPosition(first - 1, 0, last - 1, 0), UNO_QUERY_THROW);
        return Reference<beans::XPropertySet>(range->getColumns(), UNO_QUERY_THROW);
    }
};

namespace {

// Runs an office call, turning its failure into the program's refusal with the office's text.
template <typename F>
void guarded(F &&call)
{
    try {
        call();
    } catch (const uno::Exception &e) {
        throw EE(fromOffice(e.Message).isEmpty() ? QStringLiteral("Eroare LibreOffice") : fromOffice(e.Message));
    }
}

} // namespace

QString OfficeSheet::officeProgram()
{
    const QString folder = qEnvironmentVariable("UNO_PATH");
    if (!folder.isEmpty()) {
        const QFileInfo program(folder + QStringLiteral("/soffice"));
        return program.isExecutable() ? program.absoluteFilePath() : QString();
    }
    return QStandardPaths::findExecutable(QStringLiteral("soffice"));
}

bool OfficeSheet::canShowWindows()
{
    QString folder = qEnvironmentVariable("UNO_PATH");
    if (folder.isEmpty()) {
        const QString program = officeProgram();
        if (program.isEmpty())
            return false;
        folder = QFileInfo(QFileInfo(program).canonicalFilePath()).absolutePath();
    }
    return !QDir(folder).entryList({QStringLiteral("libvclplug_*")}, QDir::Files).isEmpty();
}

OfficeSheet::OfficeSheet(std::unique_ptr<Impl> impl) : d(std::move(impl)) {}

OfficeSheet::~OfficeSheet()
{
    try {
        show();
    } catch (...) {
    }
}

std::unique_ptr<OfficeSheet> OfficeSheet::open(const QString &templatePath, bool visible, QString *why)
{
    QString reason;
    const Reference<uno::XComponentContext> office = connectOffice(visible, &reason);
    if (!office.is()) {
        if (why)
            *why = reason;
        return nullptr;
    }
    auto impl = std::make_unique<Impl>();
    impl->visible = visible;
    guarded([&] {
        Reference<frame::XDesktop2> desktop = frame::Desktop::create(office);
        const bool fromTemplate = !templatePath.isEmpty() && QFileInfo(templatePath).isFile();
        Sequence<beans::PropertyValue> arguments(fromTemplate ? 3 : 2);
        arguments.getArray()[0] = property("MacroExecutionMode", Any(document::MacroExecMode::ALWAYS_EXECUTE_NO_WARN));
        arguments.getArray()[1] = property("Hidden", Any(!visible));
        OUString url = OUString::createFromAscii("private:factory/scalc");
        if (fromTemplate) {
            url = toOffice(QUrl::fromLocalFile(QFileInfo(templatePath).absoluteFilePath()).toString(QUrl::FullyEncoded));
            arguments.getArray()[2] = property("AsTemplate", Any(true));
        }
        impl->document = desktop->loadComponentFromURL(url, OUString::createFromAscii("_blank"), 0, arguments);
        Reference<sheet::XSpreadsheetDocument> spreadsheet(impl->document, UNO_QUERY);
        if (!spreadsheet.is())
            throw EE(QStringLiteral("Sablonul \"%1\" nu este o foaie de calcul").arg(templatePath));
        impl->model.set(impl->document, UNO_QUERY_THROW);
        Reference<container::XIndexAccess> sheets(spreadsheet->getSheets(), UNO_QUERY_THROW);
        impl->sheet.set(sheets->getByIndex(0), UNO_QUERY_THROW);
        impl->formats = Reference<util::XNumberFormatsSupplier>(impl->document, UNO_QUERY_THROW)->getNumberFormats();
        impl->model->lockControllers();
        impl->locked = true;
    });
    return std::unique_ptr<OfficeSheet>(new OfficeSheet(std::move(impl)));
}

void OfficeSheet::setCellByCell(bool on)
{
    d->cellByCell = on;
}

void OfficeSheet::setTextColumn(int column)
{
    guarded([&] {
        Reference<table::XColumnRowRange> sheet(d->sheet, UNO_QUERY_THROW);
        Reference<container::XIndexAccess> columns(sheet->getColumns(), UNO_QUERY_THROW);
        Reference<beans::XPropertySet>(columns->getByIndex(column - 1), UNO_QUERY_THROW)
            ->setPropertyValue(OUString::createFromAscii("NumberFormat"), Any(d->formatKey(QStringLiteral("@"))));
    });
}

void OfficeSheet::writeRow(int row, const std::vector<QVariant> &cells)
{
    d->columns = std::max(d->columns, int(cells.size()));
    d->lastRow = std::max(d->lastRow, row);
    if (cells.empty())
        return;
    if (d->cellByCell) {
        guarded([&] {
            for (size_t c = 0; c < cells.size(); ++c) {
                const QVariant &v = cells[c];
                if (v.isNull())
                    continue;
                Reference<table::XCell> cell = d->sheet->getCellByPosition(sal_Int32(c), row - 1);
                if (v.typeId() == QMetaType::QString) {
                    Reference<text::XText>(cell, UNO_QUERY_THROW)->setString(toOffice(v.toString()));
                } else if (v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime) {
                    const QDateTime t = v.toDateTime();
                    cell->setValue(serial(t.date()) + t.time().msecsSinceStartOfDay() / 86400000.0);
                    d->noteDate(c, t);
                } else {
                    cell->setValue(v.toDouble());
                }
            }
        });
        return;
    }
    // Rows join the block while they follow on from it and have its width.
    if (!d->block.empty()
        && (row != d->blockStart + int(d->block.size()) || int(cells.size()) != d->block.front().getLength()
            || d->block.size() >= 4096))
        flush();
    if (d->block.empty())
        d->blockStart = row;
    Sequence<Any> line(sal_Int32(cells.size()));
    Any *out = line.getArray();
    for (size_t c = 0; c < cells.size(); ++c) {
        const QVariant &v = cells[c];
        if (v.isNull()) {
            out[c] <<= OUString(); // an empty text leaves the cell empty
        } else if (v.typeId() == QMetaType::QString) {
            out[c] <<= toOffice(v.toString());
        } else if (v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime) {
            const QDateTime t = v.toDateTime();
            out[c] <<= serial(t.date()) + t.time().msecsSinceStartOfDay() / 86400000.0;
            d->noteDate(c, t);
        } else {
            out[c] <<= v.toDouble();
        }
    }
    d->block.push_back(std::move(line));
}

void OfficeSheet::flush()
{
    if (d->block.empty())
        return;
    const int first = d->blockStart;
    const int width = d->block.front().getLength();
    Sequence<Sequence<Any>> data(sal_Int32(d->block.size()));
    std::move(d->block.begin(), d->block.end(), data.getArray());
    d->block.clear();
    guarded([&] {
        Reference<table::XCellRange> range =
            d->sheet->getCellRangeByPosition(0, first - 1, width - 1, first - 1 + data.getLength() - 1);
        Reference<sheet::XCellRangeData>(range, UNO_QUERY_THROW)->setDataArray(data);
    });
}

void OfficeSheet::setBoldRow(int row)
{
    guarded([&] {
        Reference<table::XColumnRowRange> rows(d->sheet, UNO_QUERY_THROW);
        Reference<container::XIndexAccess> all(rows->getRows(), UNO_QUERY_THROW);
        Reference<beans::XPropertySet>(all->getByIndex(row - 1), UNO_QUERY_THROW)
            ->setPropertyValue(OUString::createFromAscii("CharWeight"), Any(awt::FontWeight::BOLD));
    });
}

void OfficeSheet::fitColumns()
{
    flush();
    guarded([&] {
        // Dates and times read as such under the header.
        if (d->lastRow >= 3)
            for (const auto &[column, withTime] : d->dateColumns) {
                Reference<beans::XPropertySet> cells(
                    d->sheet->getCellRangeByPosition(column - 1, 2, column - 1, d->lastRow - 1), UNO_QUERY_THROW);
                cells->setPropertyValue(OUString::createFromAscii("NumberFormat"),
                                        Any(d->formatKey(withTime ? QStringLiteral("DD.MM.YYYY HH:MM:SS")
                                                                  : QStringLiteral("DD.MM.YYYY"))));
            }
        if (d->columns > 0)
            d->columnRange(1, d->columns)->setPropertyValue(OUString::createFromAscii("OptimalWidth"), Any(true));
    });
}

void OfficeSheet::show()
{
    if (d->shown)
        return;
    d->shown = true;
    flush();
    guarded([&] {
        if (d->locked) {
            d->locked = false;
            d->model->unlockControllers();
        }
        if (!d->visible)
            return;
        Reference<frame::XController> controller = d->model->getCurrentController();
        if (!controller.is())
            return;
        Reference<awt::XWindow> window = controller->getFrame()->getContainerWindow();
        if (!window.is())
            return;
        window->setVisible(true);
        if (Reference<awt::XTopWindow> top(window, UNO_QUERY); top.is())
            top->toFront();
    });
}

bool OfficeSheet::runMacro(const QString &name)
{
    try {
        Reference<document::XEmbeddedScripts> scripts(d->document, UNO_QUERY);
        if (!scripts.is())
            return false;
        Reference<script::XLibraryContainer> libraries(scripts->getBasicLibraries(), UNO_QUERY);
        Reference<container::XNameAccess> byName(libraries, UNO_QUERY);
        if (!byName.is())
            return false;
        const QRegularExpression declared(QStringLiteral("^\\s*(public\\s+|private\\s+)?(sub|function)\\s+%1\\b")
                                              .arg(QRegularExpression::escape(name)),
                                          QRegularExpression::CaseInsensitiveOption | QRegularExpression::MultilineOption);
        for (const OUString &library : byName->getElementNames()) {
            libraries->loadLibrary(library);
            Reference<container::XNameAccess> modules(byName->getByName(library), UNO_QUERY);
            if (!modules.is())
                continue;
            for (const OUString &module : modules->getElementNames()) {
                OUString source;
                modules->getByName(module) >>= source;
                if (!declared.match(fromOffice(source)).hasMatch())
                    continue;
                Reference<script::provider::XScriptProviderSupplier> supplier(d->document, UNO_QUERY_THROW);
                Reference<script::provider::XScript> macro = supplier->getScriptProvider()->getScript(
                    toOffice(QStringLiteral("vnd.sun.star.script:%1.%2.%3?language=Basic&location=document")
                           .arg(fromOffice(library), fromOffice(module), name)));
                Sequence<sal_Int16> outIndex;
                Sequence<Any> out;
                macro->invoke({}, outIndex, out);
                return true;
            }
        }
    } catch (const uno::Exception &) {
    }
    return false;
}

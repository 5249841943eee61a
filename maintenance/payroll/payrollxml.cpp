#include "maintenance/payroll/payrollxml.h"
#include "data/ee.h"
#include "maintenance/payroll/payrolllimits.h"

#include <orcus/sax_parser.hpp>

namespace {

// A part that is not well formed in a way the parser lets through (a closing element that does
// not match the open one, nesting without end).
struct NotWellFormed {
    const char *why;
};

class Adapter
{
public:
    explicit Adapter(PayrollXml::Handler &handler) : m_handler(handler) { }

    void doctype(const orcus::sax::doctype_declaration &) { }
    void start_declaration(std::string_view) { }
    void end_declaration(std::string_view) { m_attributes.items.clear(); }

    void attribute(const orcus::sax::parser_attribute &attr)
    {
        if (attr.ns == "xmlns" || (attr.ns.empty() && attr.name == "xmlns"))
            return;
        m_attributes.items.emplace_back(std::string(attr.name), std::string(attr.value));
    }

    void start_element(const orcus::sax::parser_element &elem)
    {
        if (m_open.size() >= size_t(PayrollLimits::kXmlDepth))
            throw NotWellFormed{"elementele sînt imbricate prea adînc"};
        m_open.emplace_back(elem.ns, elem.name);
        m_handler.start(elem.name, m_attributes);
        m_attributes.items.clear();
    }

    void end_element(const orcus::sax::parser_element &elem)
    {
        if (m_open.empty() || m_open.back().first != elem.ns || m_open.back().second != elem.name)
            throw NotWellFormed{"un element se închide fără să fi fost deschis"};
        m_open.pop_back();
        m_handler.end(elem.name);
    }

    void characters(std::string_view text, bool) { m_handler.text(text); }

private:
    PayrollXml::Handler &m_handler;
    PayrollXml::Attributes m_attributes;
    std::vector<std::pair<std::string, std::string>> m_open; // prefix, local name
};

} // namespace

std::string_view PayrollXml::Attributes::value(std::string_view name) const
{
    for (const auto &[n, v] : items) {
        if (n == name)
            return v;
    }
    return {};
}

bool PayrollXml::Attributes::has(std::string_view name) const
{
    for (const auto &item : items) {
        if (item.first == name)
            return true;
    }
    return false;
}

bool PayrollXml::parse(const QByteArray &xml, Handler &handler, QString *error)
{
    Adapter adapter(handler);
    try {
        orcus::sax_parser<Adapter> parser(xml.constData(), size_t(xml.size()), adapter);
        parser.parse();
    } catch (const EE &) {
        throw;
    } catch (const NotWellFormed &e) {
        *error = QString::fromUtf8(e.why);
        return false;
    } catch (const std::exception &e) {
        *error = QString::fromUtf8(e.what());
        return false;
    }
    return true;
}

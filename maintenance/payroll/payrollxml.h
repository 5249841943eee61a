#pragma once
// The parts of a spreadsheet are XML; they are read with liborcus's XML parser, element by
// element, without building a tree, and without regard to the namespace prefixes each writer
// chooses: only local names reach the readers of the parts.

#include <QByteArray>
#include <QString>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class PayrollXml
{
public:
    struct Attributes {
        std::vector<std::pair<std::string, std::string>> items; // local name, decoded value
        // The value of the attribute of that local name; empty when there is none.
        std::string_view value(std::string_view name) const;
        bool has(std::string_view name) const;
    };

    class Handler
    {
    public:
        virtual ~Handler() = default;
        virtual void start(std::string_view name, const Attributes &attributes) = 0;
        virtual void end(std::string_view name) = 0;
        virtual void text(std::string_view text) = 0;
    };

    // Text of the parts, which are UTF-8.
    static QString text(std::string_view utf8) { return QString::fromUtf8(utf8.data(), qsizetype(utf8.size())); }

    // Parses `xml`, calling `handler` for each element and text. False, with the reason in
    // `error`, when the part is not well-formed XML or nests deeper than any spreadsheet does.
    // What the handler raises passes through.
    static bool parse(const QByteArray &xml, Handler &handler, QString *error);
};

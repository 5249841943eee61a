#include "reports/engine/reportexpression.h"

#include "reports/engine/reporterror.h"
#include "reports/engine/reportformat.h"

#include <cmath>
#include <optional>

enum class Op {
    Constant, Field, Date, Count, Sum, PageNumber, PageCount, Copy, If, Trim,
    Add, Sub, Mul, Div, Neg, Eq, Ne, Lt, Le, Gt, Ge, And, Or, Not
};

struct ReportExpression::Node {
    Op op = Op::Constant;
    QVariant constant;
    QString qualifier; // Field: source name, may be empty
    QString name;      // Field: field name
    std::vector<std::unique_ptr<Node>> args;
    // Field: the last source it was found in and its position there.
    mutable const ReportSource *cachedSource = nullptr;
    mutable int cachedIndex = -1;
};

namespace {

using Node = ReportExpression::Node;

struct Token {
    enum Kind { End, Number, Text, Ident, Symbol } kind = End;
    QString text;
    double number = 0;
    int pos = 0;
};

class Parser
{
public:
    explicit Parser(const QString &text) : m_text(text) { advance(); }

    std::unique_ptr<Node> parseAll()
    {
        auto n = parseOr();
        if (m_tok.kind != Token::End)
            fail(QStringLiteral("unexpected \"%1\"").arg(m_tok.text));
        return n;
    }

private:
    [[noreturn]] void fail(const QString &what) const
    {
        throw ReportError(QStringLiteral("Expression \"%1\", position %2: %3")
                              .arg(m_text).arg(m_tok.pos + 1).arg(what));
    }

    void advance()
    {
        const int n = int(m_text.size());
        while (m_pos < n && m_text[m_pos].isSpace())
            ++m_pos;
        m_tok = Token();
        m_tok.pos = m_pos;
        if (m_pos >= n)
            return;
        const QChar c = m_text[m_pos];
        if (c.isDigit() || (c == u'.' && m_pos + 1 < n && m_text[m_pos + 1].isDigit())) {
            int end = m_pos;
            while (end < n && (m_text[end].isDigit() || m_text[end] == u'.'))
                ++end;
            m_tok.kind = Token::Number;
            m_tok.text = m_text.mid(m_pos, end - m_pos);
            bool ok = false;
            m_tok.number = m_tok.text.toDouble(&ok); // QString::toDouble always reads "."
            if (!ok)
                fail(QStringLiteral("bad number \"%1\"").arg(m_tok.text));
            m_pos = end;
        } else if (c == u'\'') {
            QString s;
            int i = m_pos + 1;
            for (;;) {
                if (i >= n)
                    fail(QStringLiteral("unterminated text"));
                if (m_text[i] == u'\'') {
                    if (i + 1 < n && m_text[i + 1] == u'\'') {
                        s += u'\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                s += m_text[i++];
            }
            m_tok.kind = Token::Text;
            m_tok.text = s;
            m_pos = i;
        } else if (c.isLetter() || c == u'_') {
            int end = m_pos;
            while (end < n && (m_text[end].isLetterOrNumber() || m_text[end] == u'_'
                               || (m_text[end] == u'.' && end + 1 < n
                                   && (m_text[end + 1].isLetter() || m_text[end + 1] == u'_'))))
                ++end;
            m_tok.kind = Token::Ident;
            m_tok.text = m_text.mid(m_pos, end - m_pos);
            m_pos = end;
        } else {
            static const QString twoChar[] = {QStringLiteral("<>"), QStringLiteral("<="), QStringLiteral(">=")};
            m_tok.kind = Token::Symbol;
            for (const QString &t : twoChar)
                if (QStringView(m_text).mid(m_pos, 2) == t) {
                    m_tok.text = t;
                    m_pos += 2;
                    return;
                }
            if (!QStringLiteral("+-*/(),=<>").contains(c))
                fail(QStringLiteral("unexpected character \"%1\"").arg(c));
            m_tok.text = c;
            ++m_pos;
        }
    }

    bool isSymbol(const char *s) const { return m_tok.kind == Token::Symbol && m_tok.text == QLatin1String(s); }
    bool isWord(const char *s) const
    {
        return m_tok.kind == Token::Ident && m_tok.text.compare(QLatin1String(s), Qt::CaseInsensitive) == 0;
    }
    void expect(const char *s)
    {
        if (!isSymbol(s))
            fail(QStringLiteral("\"%1\" expected").arg(QLatin1String(s)));
        advance();
    }

    static std::unique_ptr<Node> make(Op op, std::unique_ptr<Node> a = {}, std::unique_ptr<Node> b = {})
    {
        auto n = std::make_unique<Node>();
        n->op = op;
        if (a)
            n->args.push_back(std::move(a));
        if (b)
            n->args.push_back(std::move(b));
        return n;
    }

    std::unique_ptr<Node> parseOr()
    {
        auto n = parseAnd();
        while (isWord("OR")) {
            advance();
            n = make(Op::Or, std::move(n), parseAnd());
        }
        return n;
    }

    std::unique_ptr<Node> parseAnd()
    {
        auto n = parseNot();
        while (isWord("AND")) {
            advance();
            n = make(Op::And, std::move(n), parseNot());
        }
        return n;
    }

    std::unique_ptr<Node> parseNot()
    {
        if (isWord("NOT")) {
            advance();
            return make(Op::Not, parseNot());
        }
        return parseComparison();
    }

    std::unique_ptr<Node> parseComparison()
    {
        auto n = parseAdditive();
        static const std::pair<const char *, Op> ops[] = {
            {"=", Op::Eq}, {"<>", Op::Ne}, {"<", Op::Lt}, {"<=", Op::Le}, {">", Op::Gt}, {">=", Op::Ge}};
        for (const auto &[sym, op] : ops)
            if (isSymbol(sym)) {
                advance();
                return make(op, std::move(n), parseAdditive());
            }
        return n;
    }

    std::unique_ptr<Node> parseAdditive()
    {
        auto n = parseMultiplicative();
        for (;;) {
            if (isSymbol("+")) {
                advance();
                n = make(Op::Add, std::move(n), parseMultiplicative());
            } else if (isSymbol("-")) {
                advance();
                n = make(Op::Sub, std::move(n), parseMultiplicative());
            } else {
                return n;
            }
        }
    }

    std::unique_ptr<Node> parseMultiplicative()
    {
        auto n = parseUnary();
        for (;;) {
            if (isSymbol("*")) {
                advance();
                n = make(Op::Mul, std::move(n), parseUnary());
            } else if (isSymbol("/")) {
                advance();
                n = make(Op::Div, std::move(n), parseUnary());
            } else {
                return n;
            }
        }
    }

    std::unique_ptr<Node> parseUnary()
    {
        if (isSymbol("-")) {
            advance();
            return make(Op::Neg, parseUnary());
        }
        if (isSymbol("+")) {
            advance();
            return parseUnary();
        }
        return parsePrimary();
    }

    std::vector<std::unique_ptr<Node>> parseArguments(const QString &function, int count)
    {
        std::vector<std::unique_ptr<Node>> args;
        expect("(");
        if (!isSymbol(")")) {
            args.push_back(parseOr());
            while (isSymbol(",")) {
                advance();
                args.push_back(parseOr());
            }
        }
        if (int(args.size()) != count)
            fail(QStringLiteral("%1 takes %2 argument(s)").arg(function).arg(count));
        expect(")");
        return args;
    }

    std::unique_ptr<Node> parsePrimary()
    {
        if (m_tok.kind == Token::Number) {
            auto n = make(Op::Constant);
            n->constant = m_tok.number;
            advance();
            return n;
        }
        if (m_tok.kind == Token::Text) {
            auto n = make(Op::Constant);
            n->constant = m_tok.text;
            advance();
            return n;
        }
        if (isSymbol("(")) {
            advance();
            auto n = parseOr();
            expect(")");
            return n;
        }
        if (m_tok.kind != Token::Ident)
            fail(m_tok.kind == Token::End ? QStringLiteral("unexpected end") : QStringLiteral("unexpected \"%1\"").arg(m_tok.text));

        const QString word = m_tok.text;
        const QString upper = word.toUpper();
        advance();
        const bool call = isSymbol("(");

        static const std::pair<const char *, Op> noArgs[] = {
            {"COUNT", Op::Count}, {"DATE", Op::Date}, {"PAGENUMBER", Op::PageNumber}, {"PAGECOUNT", Op::PageCount}};
        for (const auto &[fname, op] : noArgs)
            if (upper == QLatin1String(fname)) {
                if (call)
                    parseArguments(upper, 0);
                if (op == Op::Count && m_inAggregate)
                    fail(QStringLiteral("COUNT inside SUM"));
                return make(op);
            }
        if (upper == QLatin1String("TRUE") || upper == QLatin1String("FALSE")) {
            auto n = make(Op::Constant);
            n->constant = upper == QLatin1String("TRUE");
            return n;
        }
        if (!call) {
            auto n = make(Op::Field);
            const int dot = int(word.indexOf(u'.'));
            n->qualifier = dot < 0 ? QString() : word.left(dot);
            n->name = dot < 0 ? word : word.mid(dot + 1);
            return n;
        }
        if (upper == QLatin1String("SUM")) {
            if (m_inAggregate)
                fail(QStringLiteral("SUM inside SUM"));
            m_inAggregate = true;
            auto n = make(Op::Sum);
            n->args = parseArguments(upper, 1);
            m_inAggregate = false;
            return n;
        }
        static const std::tuple<const char *, Op, int> functions[] = {
            {"COPY", Op::Copy, 3}, {"IF", Op::If, 3}, {"TRIM", Op::Trim, 1}};
        for (const auto &[fname, op, count] : functions)
            if (upper == QLatin1String(fname)) {
                auto n = make(op);
                n->args = parseArguments(upper, count);
                return n;
            }
        fail(QStringLiteral("unknown function %1").arg(word));
    }

    QString m_text;
    int m_pos = 0;
    Token m_tok;
    bool m_inAggregate = false;
};

void collectAggregates(const Node &n, std::vector<ReportExpression::Aggregate> &out)
{
    if (n.op == Op::Count || n.op == Op::Sum) {
        ReportExpression::Aggregate a;
        a.node = &n;
        // The first source named inside the argument feeds the sum.
        std::vector<const Node *> stack;
        for (const auto &arg : n.args)
            stack.push_back(arg.get());
        while (!stack.empty() && a.source.isEmpty()) {
            const Node *x = stack.front();
            stack.erase(stack.begin());
            if (x->op == Op::Field && !x->qualifier.isEmpty())
                a.source = x->qualifier;
            for (const auto &arg : x->args)
                stack.push_back(arg.get());
        }
        out.push_back(a);
        return;
    }
    for (const auto &arg : n.args)
        collectAggregates(*arg, out);
}

bool isBlank(const QVariant &v) { return !v.isValid() || v.isNull(); }

double toNumber(const QVariant &v)
{
    if (isBlank(v))
        return 0;
    if (ReportFormat::isNumber(v) || v.typeId() == QMetaType::Bool)
        return v.toDouble();
    bool ok = false;
    const double d = v.toString().trimmed().toDouble(&ok);
    if (!ok)
        throw ReportError(QStringLiteral("\"%1\" is not a number").arg(ReportFormat::text(v)));
    return d;
}

bool numericPair(const QVariant &a, const QVariant &b)
{
    auto numeric = [](const QVariant &v) { return isBlank(v) || ReportFormat::isNumber(v) || v.typeId() == QMetaType::Bool; };
    return numeric(a) && numeric(b);
}

QVariant fieldValue(const Node &n, const ReportContext &ctx)
{
    // The value in `src`, or nothing when `src` has no such field.
    auto valueAt = [&n](ReportSource *src) -> std::optional<QVariant> {
        int idx = n.cachedIndex;
        if (src != n.cachedSource) {
            idx = src->fieldIndex(n.name);
            if (idx < 0)
                return std::nullopt;
            n.cachedSource = src;
            n.cachedIndex = idx;
        }
        return src->eof() ? QVariant() : src->value(idx);
    };

    if (!n.qualifier.isEmpty()) {
        for (const auto &s : ctx.sources) {
            if (s.name.compare(n.qualifier, Qt::CaseInsensitive) != 0)
                continue;
            if (!s.source)
                return {};
            if (auto v = valueAt(s.source))
                return *v;
            throw ReportError(QStringLiteral("Unknown field %1.%2").arg(n.qualifier, n.name));
        }
        throw ReportError(QStringLiteral("Unknown data source in %1.%2").arg(n.qualifier, n.name));
    }
    for (const auto &s : ctx.sources)
        if (s.source)
            if (auto v = valueAt(s.source))
                return *v;
    throw ReportError(QStringLiteral("Unknown field %1").arg(n.name));
}

QVariant eval(const Node &n, const ReportContext &ctx)
{
    auto arg = [&](int i) { return eval(*n.args[size_t(i)], ctx); };
    switch (n.op) {
    case Op::Constant:
        return n.constant;
    case Op::Field:
        return fieldValue(n, ctx);
    case Op::Date:
        return ReportFormat::date(ctx.today);
    case Op::PageNumber:
        return ctx.pageNumber;
    case Op::PageCount:
        return ReportExpression::pageCountMarker();
    case Op::Count:
    case Op::Sum:
        return ctx.aggregates ? ctx.aggregates->value(&n, 0.0) : 0.0;
    case Op::Copy:
        return ReportFormat::copy(ReportFormat::text(arg(0)), int(std::lround(toNumber(arg(1)))),
                                  int(std::lround(toNumber(arg(2)))));
    case Op::Trim:
        return ReportFormat::text(arg(0)).trimmed();
    case Op::If:
        return ReportExpression::truth(arg(0)) ? arg(1) : arg(2);
    case Op::Neg:
        return -toNumber(arg(0));
    case Op::Not:
        return !ReportExpression::truth(arg(0));
    case Op::And:
        return ReportExpression::truth(arg(0)) && ReportExpression::truth(arg(1));
    case Op::Or:
        return ReportExpression::truth(arg(0)) || ReportExpression::truth(arg(1));
    default:
        break;
    }
    const QVariant a = arg(0), b = arg(1);
    switch (n.op) {
    case Op::Add:
        if (numericPair(a, b))
            return toNumber(a) + toNumber(b);
        return ReportFormat::text(a) + ReportFormat::text(b);
    case Op::Sub:
        return toNumber(a) - toNumber(b);
    case Op::Mul:
        return toNumber(a) * toNumber(b);
    case Op::Div: {
        const double d = toNumber(b);
        return d == 0 ? QVariant() : QVariant(toNumber(a) / d);
    }
    default:
        break;
    }
    int cmp;
    if (numericPair(a, b)) {
        const double x = toNumber(a), y = toNumber(b);
        cmp = x < y ? -1 : (x > y ? 1 : 0);
    } else {
        cmp = ReportFormat::text(a).compare(ReportFormat::text(b));
    }
    switch (n.op) {
    case Op::Eq: return cmp == 0;
    case Op::Ne: return cmp != 0;
    case Op::Lt: return cmp < 0;
    case Op::Le: return cmp <= 0;
    case Op::Gt: return cmp > 0;
    case Op::Ge: return cmp >= 0;
    default: return {};
    }
}

} // namespace

ReportExpression::~ReportExpression() = default;

std::shared_ptr<const ReportExpression> ReportExpression::parse(const QString &text)
{
    std::shared_ptr<ReportExpression> e(new ReportExpression);
    e->m_text = text;
    e->m_root = Parser(text).parseAll();
    collectAggregates(*e->m_root, e->m_aggregates);
    return e;
}

QVariant ReportExpression::evaluate(const ReportContext &context) const
{
    return eval(*m_root, context);
}

double ReportExpression::aggregateStep(const Node *node, const ReportContext &context) const
{
    if (node->op == Op::Count)
        return 1;
    return toNumber(eval(*node->args.front(), context));
}

void ReportExpression::forgetFieldPositions() const
{
    std::vector<const Node *> stack{m_root.get()};
    while (!stack.empty()) {
        const Node *n = stack.back();
        stack.pop_back();
        n->cachedSource = nullptr;
        n->cachedIndex = -1;
        for (const auto &arg : n->args)
            stack.push_back(arg.get());
    }
}

bool ReportExpression::truth(const QVariant &value)
{
    if (isBlank(value))
        return false;
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (ReportFormat::isNumber(value))
        return value.toDouble() != 0;
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().isValid();
    return !ReportFormat::text(value).trimmed().isEmpty();
}

QString ReportExpression::pageCountMarker()
{
    return QStringLiteral("\uE000#PAGECOUNT#\uE000");
}

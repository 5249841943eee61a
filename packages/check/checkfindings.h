#pragma once
// Where the rules of the package check put what they find. A message may be given as a
// function that makes it, so that a rule that fails on every line of a file costs nothing
// for the texts nobody reads.

#include "packages/check/packagemember.h"
#include "packages/packagecheck.h"

#include <type_traits>
#include <utility>

class CheckFindings
{
public:
    explicit CheckFindings(PackageCheck::Result &result) : m_result(result) { }

    // `message` is a QString or a function returning one.
    template <typename Message>
    void add(PackageMember member, int line, int field, Message &&message,
             PackageFinding::Severity severity = PackageFinding::Error)
    {
        if constexpr (std::is_invocable_v<Message>)
            store(member, line, field, severity, message());
        else
            store(member, line, field, severity, QString(std::forward<Message>(message)));
    }
    template <typename Message> void warn(PackageMember member, int line, int field, Message &&message)
    {
        add(member, line, field, std::forward<Message>(message), PackageFinding::Warning);
    }

private:
    void store(PackageMember member, int line, int field, PackageFinding::Severity severity, QString message);

    PackageCheck::Result &m_result;
};

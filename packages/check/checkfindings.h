#pragma once
// Where the rules of the package check put what they find. A member (or the archive) lists
// at most PackageBounds::FindingsPerMember findings; the rest are counted, and a note after
// its findings says how many there were. A message may be given as a function that makes it,
// so that a rule failing on every line of a large file costs nothing for the texts left out.

#include "packages/check/packagebounds.h"
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
        Count &count = m_counts[int(member)];
        if (count.listed == PackageBounds::FindingsPerMember) {
            ++(severity == PackageFinding::Error ? count.omittedErrors : count.omittedWarnings);
            return;
        }
        ++count.listed;
        if constexpr (std::is_invocable_v<Message>)
            store(member, line, field, severity, message());
        else
            store(member, line, field, severity, QString(std::forward<Message>(message)));
    }
    template <typename Message> void warn(PackageMember member, int line, int field, Message &&message)
    {
        add(member, line, field, std::forward<Message>(message), PackageFinding::Warning);
    }

    // Sorts the findings and puts each member's note after its own.
    void finish();

private:
    void store(PackageMember member, int line, int field, PackageFinding::Severity severity, QString message);

    struct Count {
        int listed = 0, omittedErrors = 0, omittedWarnings = 0;
    };
    PackageCheck::Result &m_result;
    Count m_counts[PackageMembers::Count];
};

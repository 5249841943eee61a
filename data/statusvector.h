#pragma once
// The engine's status vector read as its error codes, each with the texts and the system's
// error code given with it, for the places that tell an engine failure in the user's words.

#include <QStringList>

#include <cstdint>
#include <vector>

class StatusVector
{
public:
    struct Cluster {
        intptr_t code = 0; // isc_... (gdscode)
        QStringList texts; // the string arguments after it
        int osError = 0;   // errno, or a Windows error turned into the errno it means
    };

    explicit StatusVector(const intptr_t *status);

    const std::vector<Cluster> &clusters() const { return m_clusters; }
    bool empty() const { return m_clusters.empty(); }
    intptr_t first() const { return m_clusters.empty() ? 0 : m_clusters.front().code; }
    bool has(intptr_t code) const;
    // The cluster of `code`; null when the vector has none.
    const Cluster *find(intptr_t code) const;
    // The last system error code given with any cluster; 0 when none was.
    int osError() const;

private:
    std::vector<Cluster> m_clusters;
};

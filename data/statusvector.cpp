#include "data/statusvector.h"

#include <ibase.h>

#include <QByteArray>
#include <QFile>

#include <cerrno>

StatusVector::StatusVector(const intptr_t *status)
{
    for (int i = 0; i + 1 < ISC_STATUS_LENGTH && status[i] != isc_arg_end;) {
        const intptr_t kind = status[i], value = status[i + 1];
        if (kind == isc_arg_gds || kind == isc_arg_warning) {
            m_clusters.push_back({value, {}, 0});
        } else if (m_clusters.empty()) {
            // arguments before any code: not a vector this reads
        } else if (kind == isc_arg_string) {
            m_clusters.back().texts << QFile::decodeName(reinterpret_cast<const char *>(value));
        } else if (kind == isc_arg_cstring && i + 2 < ISC_STATUS_LENGTH) {
            m_clusters.back().texts << QFile::decodeName(
                QByteArray(reinterpret_cast<const char *>(status[i + 2]), int(value)));
            ++i;
        } else if (kind == isc_arg_number) {
            m_clusters.back().texts << QString::number(qint64(value));
        } else if (kind == isc_arg_unix) {
            m_clusters.back().osError = int(value);
        } else if (kind == isc_arg_win32) {
            m_clusters.back().osError = value == 5                 ? EACCES
                                        : value == 2 || value == 3 ? ENOENT
                                                                   : int(value); // access denied, not found
        }
        i += 2;
    }
}

bool StatusVector::has(intptr_t code) const
{
    return find(code) != nullptr;
}

const StatusVector::Cluster *StatusVector::find(intptr_t code) const
{
    for (const Cluster &c : m_clusters)
        if (c.code == code)
            return &c;
    return nullptr;
}

int StatusVector::osError() const
{
    int error = 0;
    for (const Cluster &c : m_clusters)
        if (c.osError)
            error = c.osError;
    return error;
}

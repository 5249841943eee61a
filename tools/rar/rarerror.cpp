#include "rarerror.h"

RarError::RarError(Code code, const QString &message)
    : std::runtime_error(message.toStdString())
    , m_code(code)
{
}

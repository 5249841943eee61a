#include "platform/guard.h"
#include "data/dberror.h"
#include "data/ee.h"
#include "platform/userinteraction.h"

#include <QString>

bool runGuarded(const std::function<void()> &handler)
{
    try {
        handler();
        return true;
    } catch (const EE &e) {
        userInteraction().showError(e.message());
    } catch (const DbError &e) {
        userInteraction().showError(e.message());
    } catch (const std::exception &e) {
        userInteraction().showError(QString::fromUtf8(e.what()));
    }
    return false;
}

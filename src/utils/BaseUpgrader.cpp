#include "utils/BaseUpgrader.h"

#include "ZeqLogging.h"

namespace zeq
{

void displayWarning(const QString &text)
{
    qCWarning(lcCore).noquote() << text;
}

} // namespace zeq

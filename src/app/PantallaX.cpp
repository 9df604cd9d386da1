#include "PantallaX.h"

#include <QByteArray>
#include <QtGlobal>

void PrepararPantallaX()
{
    static constexpr char Variable[] = "QT_XCB_NO_MITSHM";
    if (!qEnvironmentVariableIsSet(Variable))
        qputenv(Variable, QByteArrayLiteral("1"));
}

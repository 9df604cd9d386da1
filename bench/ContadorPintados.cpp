#include "ContadorPintados.h"

#include <QCoreApplication>
#include <QPaintEvent>
#include <QWidget>
#include <cstdio>

TContadorPintados* TContadorPintados::InstalarSiSePide()
{
    if (qEnvironmentVariableIsEmpty("GEDANKO_BANCO_PINTADOS"))
        return nullptr;
    auto* contador = new TContadorPintados;
    contador->setParent(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(contador);
    return contador;
}

bool TContadorPintados::eventFilter(QObject* objeto, QEvent* evento)
{
    if (evento->type() == QEvent::Paint) {
        QString nombre = objeto->objectName();
        if (nombre.isEmpty())
            nombre = QString::fromLatin1(objeto->metaObject()->className()) + QStringLiteral(" in ")
                     + (objeto->parent() ? objeto->parent()->objectName() : QString());
        const QRect r = static_cast<QPaintEvent*>(evento)->rect();
        TCuenta& cuenta = FCuentas[nombre];
        ++cuenta.Veces;
        cuenta.Area += double(r.width()) * r.height();
    }
    return false;
}

void TContadorPintados::Imprimir(const char* titulo) const
{
    std::fprintf(stderr, "paints during %s:\n", titulo);
    for (const auto& [nombre, cuenta] : FCuentas)
        std::fprintf(stderr, "  %-50s %8ld paints, %10.0f px each\n", qPrintable(nombre), cuenta.Veces,
                     cuenta.Area / double(cuenta.Veces));
}

// Diagnostic: counts the paint events each widget receives and the area they
// cover, to show what a measured operation repaints. Installed on the
// application when GEDANKO_BANCO_PINTADOS is set; prints to standard error.
#pragma once

#include <QObject>
#include <QString>
#include <map>

class TContadorPintados : public QObject {
public:
    // Installs a counter on the application when the variable is set.
    static TContadorPintados* InstalarSiSePide();
    void Reiniciar() { FCuentas.clear(); }
    void Imprimir(const char* titulo) const;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    struct TCuenta {
        long Veces = 0;
        double Area = 0;
    };
    std::map<QString, TCuenta> FCuentas;
};

// The real modal dialogs of the main window.
#include "Dialogos.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>

namespace {

QString Elegir(QWidget* padre, QFileDialog::AcceptMode modo, const QString& titulo, const QStringList& filtros,
               QString& ultimo)
{
    QFileDialog dialogo(padre, titulo);
    dialogo.setAcceptMode(modo);
    dialogo.setNameFilters(filtros);
    dialogo.setSizeGripEnabled(true);
    if (modo == QFileDialog::AcceptOpen) {
        // The folder and the file must exist.
        dialogo.setFileMode(QFileDialog::ExistingFile);
    } else {
        // Replacing a file is confirmed by the dialog itself.
        dialogo.setFileMode(QFileDialog::AnyFile);
        dialogo.setDefaultSuffix(QStringLiteral("txt"));
    }
    if (!ultimo.isEmpty())
        dialogo.selectFile(ultimo);
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty())
        return {};
    ultimo = dialogo.selectedFiles().constFirst();
    return ultimo;
}

void Caja(QWidget* padre, QMessageBox::Icon icono, const QString& titulo, const QString& texto)
{
    QMessageBox caja(icono, titulo, texto, QMessageBox::Ok, padre);
    caja.exec();
}

} // namespace

QString TDialogosQt::ElegirFicheroGuardar(QWidget* padre)
{
    return Elegir(padre, QFileDialog::AcceptSave,
                  QStringLiteral("Introduzca el nombre del fichero para guardar el registro"),
                  {QStringLiteral("Archivos de Texto (*.txt)"), QStringLiteral("Todos (*.*)")}, FUltimoGuardado);
}

QString TDialogosQt::ElegirFicheroAbrir(QWidget* padre)
{
    return Elegir(padre, QFileDialog::AcceptOpen, QStringLiteral("Seleccione el perfil de usuario"),
                  {QStringLiteral("Perfiles Emotiv (*.emu)"), QStringLiteral("Todos (*.*)")}, FUltimoAbierto);
}

void TDialogosQt::MostrarError(QWidget* padre, const QString& texto)
{
    Caja(padre, QMessageBox::Critical, QStringLiteral("Error"), texto);
}

void TDialogosQt::MostrarMensaje(QWidget* padre, const QString& texto)
{
    Caja(padre, QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(), texto);
}

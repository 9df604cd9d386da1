// Qt's own texts in Spanish: the file dialogs, the overwrite question and the
// message-box buttons, as the application entry loads them at start-up.
#include "TraduccionQt.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>

namespace {

struct TTextos {
    std::string VerEn;
    std::string NombreFichero;
    std::string Abrir;
    std::string Cancelar;
    std::string Si;
    std::string No;
    std::string Reemplazar;
    std::string Carpeta; // the type of a folder in the dialog's list
};

// The texts a real file dialog and a real message box show right now.
TTextos TextosDelToolkit()
{
    QFileDialog dialogo;
    dialogo.setOption(QFileDialog::DontUseNativeDialog);
    dialogo.setAcceptMode(QFileDialog::AcceptOpen);
    const auto* botones = dialogo.findChild<QDialogButtonBox*>();
    QMessageBox pregunta(QMessageBox::Question, QString(), QString(), QMessageBox::Yes | QMessageBox::No);
    return {dialogo.findChild<QLabel*>(QStringLiteral("lookInLabel"))->text().toStdString(),
            dialogo.findChild<QLabel*>(QStringLiteral("fileNameLabel"))->text().toStdString(),
            botones->button(QDialogButtonBox::Open)->text().toStdString(),
            botones->button(QDialogButtonBox::Cancel)->text().toStdString(),
            pregunta.button(QMessageBox::Yes)->text().toStdString(),
            pregunta.button(QMessageBox::No)->text().toStdString(),
            QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to replace it?").toStdString(),
            QCoreApplication::translate("QAbstractFileIconProvider", "Folder").toStdString()};
}

TEST(TraduccionQt, LosTextosDelToolkitSalenEnEspanolMientrasViveElObjeto)
{
    {
        TTraduccionQt traduccion;
        ASSERT_TRUE(traduccion.Cargar()) << traduccion.MensajeError().toStdString();
        const TTextos textos = TextosDelToolkit();
        EXPECT_EQ(textos.VerEn, "Ver en:");
        EXPECT_EQ(textos.NombreFichero, "&Nombre de fichero:");
        EXPECT_EQ(textos.Abrir, "&Abrir");
        EXPECT_EQ(textos.Cancelar, "Cancelar");
        EXPECT_EQ(textos.Si, "&Sí");
        EXPECT_EQ(textos.No, "&No");
        EXPECT_EQ(textos.Reemplazar, "El fichero %1 ya existe.\n¿Desea reemplazarlo?");
        EXPECT_EQ(textos.Carpeta, "Carpeta") << "missing from the catalogue, so ours";
    }
    // Released with the object, so nothing stays installed behind it.
    const TTextos textos = TextosDelToolkit();
    EXPECT_EQ(textos.VerEn, "Look in:");
    EXPECT_EQ(textos.Carpeta, "Folder");
}

TEST(TraduccionQt, SinCatalogoNombraElPaqueteQueFaltaYNoCambiaNada)
{
    QTemporaryDir vacia;
    TTraduccionQt traduccion(vacia.path());
    EXPECT_FALSE(traduccion.Cargar());
    EXPECT_TRUE(traduccion.MensajeError().contains(QStringLiteral("qt6-translations-l10n")))
        << traduccion.MensajeError().toStdString();
    EXPECT_TRUE(traduccion.MensajeError().contains(vacia.path()));
    const TTextos textos = TextosDelToolkit();
    EXPECT_EQ(textos.Cancelar, "Cancel");
    EXPECT_EQ(textos.Carpeta, "Folder") << "no half translation";
}

} // namespace

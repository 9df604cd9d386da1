// The real dialogs, answered from a timer while they run modally.
#include "Dialogos.h"
#include "Impresion.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Runs the answer on the modal dialog as soon as it is shown.
template <typename TDialogo> void Responder(std::function<void(TDialogo*)> respuesta)
{
    QTimer::singleShot(0, [respuesta] {
        auto* dialogo = qobject_cast<TDialogo*>(QApplication::activeModalWidget());
        ASSERT_NE(dialogo, nullptr);
        respuesta(dialogo);
    });
}

class Dialogos : public ::testing::Test {
protected:
    QTemporaryDir carpeta;
    TDialogosQt dialogos;
    QWidget padre;

    QString Ruta(const char* nombre) const { return carpeta.filePath(QLatin1String(nombre)); }
};

TEST_F(Dialogos, SaveAddsTheTextExtensionAndOpensWithTheLastName)
{
    Responder<QFileDialog>([this](QFileDialog* dialogo) {
        EXPECT_EQ(dialogo->windowTitle(), "Introduzca el nombre del fichero para guardar el registro");
        EXPECT_EQ(dialogo->nameFilters(), QStringList({"Archivos de Texto (*.txt)", "Todos (*.*)"}));
        EXPECT_EQ(dialogo->selectedNameFilter(), "Archivos de Texto (*.txt)");
        EXPECT_EQ(dialogo->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_FALSE(dialogo->testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_TRUE(dialogo->isSizeGripEnabled());
        dialogo->selectFile(Ruta("registro"));
        static_cast<QDialog*>(dialogo)->accept(); // as the dialog's own button does
    });
    const QString elegido = dialogos.ElegirFicheroGuardar(&padre);
    EXPECT_EQ(elegido, Ruta("registro.txt"));

    Responder<QFileDialog>([this](QFileDialog* dialogo) {
        EXPECT_EQ(dialogo->selectedFiles().value(0), Ruta("registro.txt"));
        dialogo->reject();
    });
    EXPECT_TRUE(dialogos.ElegirFicheroGuardar(&padre).isEmpty());
}

TEST_F(Dialogos, OpenTakesOnlyAnExistingProfile)
{
    QFile perfil(Ruta("ana.emu"));
    ASSERT_TRUE(perfil.open(QIODevice::WriteOnly));
    perfil.close();

    bool rechazado = false;
    Responder<QFileDialog>([this, &rechazado](QFileDialog* dialogo) {
        EXPECT_EQ(dialogo->windowTitle(), "Seleccione el perfil de usuario");
        EXPECT_EQ(dialogo->nameFilters(), QStringList({"Perfiles Emotiv (*.emu)", "Todos (*.*)"}));
        EXPECT_EQ(dialogo->acceptMode(), QFileDialog::AcceptOpen);
        EXPECT_EQ(dialogo->fileMode(), QFileDialog::ExistingFile);
        EXPECT_TRUE(dialogo->defaultSuffix().isEmpty());
        // A missing file is refused with a warning box, and the dialog stays.
        bool aviso = false;
        Responder<QMessageBox>([&aviso](QMessageBox* caja) {
            aviso = true;
            caja->button(QMessageBox::Ok)->click();
        });
        dialogo->selectFile(Ruta("nadie.emu"));
        static_cast<QDialog*>(dialogo)->accept(); // as the dialog's own button does
        rechazado = aviso && dialogo->isVisible();
        dialogo->selectFile(Ruta("ana.emu"));
        static_cast<QDialog*>(dialogo)->accept(); // as the dialog's own button does
    });
    EXPECT_EQ(dialogos.ElegirFicheroAbrir(&padre), Ruta("ana.emu"));
    EXPECT_TRUE(rechazado);
}

TEST_F(Dialogos, MessageBoxesHaveTheirIconCaptionAndOneButton)
{
    QApplication::setApplicationDisplayName(QStringLiteral("Gedanko"));
    struct TCaso {
        std::function<void()> mostrar;
        QMessageBox::Icon icono;
        const char* titulo;
        const char* texto;
    };
    const TCaso casos[] = {
        {[this] { dialogos.MostrarError(&padre, "Se ha producido un error abriendo el fichero\n13"); },
         QMessageBox::Critical, "Error", "Se ha producido un error abriendo el fichero\n13"},
        {[this] { dialogos.MostrarMensaje(&padre, "El fichero se ha guardado con éxito"); }, QMessageBox::NoIcon,
         "Gedanko", "El fichero se ha guardado con éxito"},
    };
    for (const TCaso& caso : casos) {
        bool visto = false;
        Responder<QMessageBox>([&](QMessageBox* caja) {
            visto = true;
            EXPECT_EQ(caja->icon(), caso.icono);
            EXPECT_EQ(caja->windowTitle(), QString::fromUtf8(caso.titulo));
            EXPECT_EQ(caja->text(), QString::fromUtf8(caso.texto));
            EXPECT_EQ(caja->standardButtons(), QMessageBox::Ok);
            caja->button(QMessageBox::Ok)->click();
        });
        caso.mostrar();
        EXPECT_TRUE(visto) << caso.titulo;
    }
}

} // namespace

// A shown main window, started as the program starts it, whose actuator
// writes to the recording port library; and the views the driving tests
// read: log lines, bytes written, the picture each arrow image shows.
#pragma once

#include "Actuador.h"
#include "ColoresQt.h"
#include "Controles.h"
#include "DialogosPrueba.h"
#include "EjecucionVentana.h"
#include "EjecutableTemporal.h"
#include "FormularioMain.h"
#include "Grabacion.h"
#include "Imagen.h"
#include "Imagenes.h"
#include "Main.h"

#include "PanelRegistro.h"
#include <QApplication>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

inline QColor C(TColor color)
{
    return AColorQt(color, QPalette());
}

// The index of the list picture the control shows; -1 when none matches.
inline int IndiceMostrado(const TImagen* imagen, QPixmap (*lista)(int), int cuantas)
{
    const QImage mostrada = imagen->pixmap().toImage();
    for (int i = 0; i < cuantas; ++i)
        if (lista(i).toImage() == mostrada)
            return i;
    return -1;
}

class VentanaConduccion : public testing::Test {
protected:
    void SetUp() override
    {
        // Start-up loaded the port library by its bare name: the recorder,
        // first on LD_LIBRARY_PATH.
        ASSERT_FALSE(Lineas().contains(QStringLiteral("Error cargando dll")))
            << "the recording port library must come first on LD_LIBRARY_PATH";
        FVentana.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&FVentana));
        ASSERT_TRUE(FVentana.ModoManual());
        ASSERT_FALSE(ui.ActionActuador->isChecked());
        FVentana.ActionLimpiarExecute();
        FGrabacion = std::make_unique<TGrabacion>();
    }

    QStringList Lineas() const
    {
        QStringList lineas;
        for (int i = 0; i < ui.RichEditRegistro->NumLineas(); ++i)
            lineas << ui.RichEditRegistro->Linea(i);
        return lineas;
    }

    std::vector<unsigned> Bytes() const { return FGrabacion->Valores(); }
    // Starts a fresh recording, dropping what was written so far.
    void OlvidarBytes()
    {
        FGrabacion.reset(); // its end unsets the library's file
        FGrabacion = std::make_unique<TGrabacion>();
    }

    // Switches port output on through its tool button, as the operator does.
    void PulsarActuador() { QTest::mouseClick(ui.ToolButtonActuador, Qt::LeftButton); }

    int IndiceAvRet() const
    {
        return IndiceMostrado(ui.ImageFlechasArribaAbajo, ImagenFlechasArribaAbajo, NumImagenesFlechasArribaAbajo);
    }
    int IndiceGiro() const
    {
        return IndiceMostrado(ui.ImageFlechasIzquierdaDerecha, ImagenFlechasIzquierdaDerecha,
                              NumImagenesFlechasIzquierdaDerecha);
    }

    TEjecutableTemporal FEjecutable;
    testing::StrictMock<TDialogosMock>* FDialogos = nullptr;
    TFMain FVentana {FEjecutable.DependenciasConMock(FDialogos)};
    const TFormularioMain ui {FVentana};
    std::unique_ptr<TGrabacion> FGrabacion;
};

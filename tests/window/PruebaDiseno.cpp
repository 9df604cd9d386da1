// The main window as designed: the form's controls with their names, places
// and looks and its actions; then what the window adds when it is built:
// fixed size, fonts, validators, bindings, z-order, tab order, and that no
// caption is cut off.
#include "ColoresQt.h"
#include "Controles.h"
#include "EjecutableTemporal.h"
#include "FormularioMain.h"
#include "Gauge.h"
#include "Imagen.h"
#include "Imagenes.h"
#include "Impresion.h"
#include "Main.h"
#include "RadioGroup.h"
#include "Shape.h"
#include "ui_Main.h"

#include "PanelRegistro.h"
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QToolButton>
#include <QValidator>
#include <gtest/gtest.h>

namespace {

// The form alone, before start-up gives the controls their first values.
class Formulario : public ::testing::Test {
protected:
    Formulario() { ui.setupUi(&forma); }

    QWidget forma;
    Ui::TFMain ui;

    QWidget* Control(const char* nombre) { return forma.findChild<QWidget*>(QLatin1String(nombre)); }
};

class Diseno : public ::testing::Test {
protected:
    TEjecutableTemporal ejecutable;
    TFMain ventana {ejecutable.Dependencias()};
    const TFormularioMain ui {ventana};
};

struct TControl {
    const char* nombre;
    const char* padre;
    const char* clase;
    int x, y, ancho, alto; // ancho < 0: the control sizes itself, only its place is designed
    const char* hint; // nullptr: not checked
};

const TControl Controles[] = {
    {"PanelContenedor", "TFMain", "QFrame", 0, 0, 774, 313, ""},
    {"PanelSensores", "PanelContenedor", "QFrame", 0, 0, 230, 313, ""},
    {"ImageCasco", "PanelSensores", "TImagen", 5, 4, 220, 256, "Estado de los sensores del casco"},
    {"ShapeElectodo01", "PanelSensores", "TShape", 70, 35, 20, 20, "AF3"},
    {"ShapeElectodo02", "PanelSensores", "TShape", 140, 35, 20, 20, "AF4"},
    {"ShapeElectodo03", "PanelSensores", "TShape", 90, 60, 20, 20, "F3"},
    {"ShapeElectodo04", "PanelSensores", "TShape", 120, 60, 20, 20, "F4"},
    {"ShapeElectodo05", "PanelSensores", "TShape", 35, 70, 20, 20, "F7"},
    {"ShapeElectodo06", "PanelSensores", "TShape", 175, 70, 20, 20, "F8"},
    {"ShapeElectodo07", "PanelSensores", "TShape", 60, 90, 20, 20, "FC5"},
    {"ShapeElectodo08", "PanelSensores", "TShape", 150, 90, 20, 20, "FC6"},
    {"ShapeElectodo09", "PanelSensores", "TShape", 20, 120, 20, 20, "T7"},
    {"ShapeElectodo10", "PanelSensores", "TShape", 190, 120, 20, 20, "T8"},
    {"ShapeElectodo11", "PanelSensores", "TShape", 29, 154, 22, 22, "CMS"},
    {"ShapeElectodo12", "PanelSensores", "TShape", 179, 154, 22, 22, "DRL"},
    {"ShapeElectodo13", "PanelSensores", "TShape", 45, 195, 20, 20, "P7"},
    {"ShapeElectodo14", "PanelSensores", "TShape", 165, 195, 20, 20, "P8"},
    {"ShapeElectodo15", "PanelSensores", "TShape", 80, 230, 20, 20, "O1"},
    {"ShapeElectodo16", "PanelSensores", "TShape", 130, 230, 20, 20, "O2"},
    {"PanelIndicadores", "PanelSensores", "QFrame", 1, 264, 228, 48, ""},
    {"LabelEstado", "PanelIndicadores", "QLabel", 4, 3, 143, 21, "Estado"},
    {"CGaugeBateria", "PanelIndicadores", "TGauge", 152, 3, 45, 40, "Carga de la Batería"},
    {"LabelTiempoConexionEtq", "PanelIndicadores", "QLabel", 4, 29, -1, -1, ""},
    {"LabelTiempoConexion", "PanelIndicadores", "QLabel", 48, 28, 99, 15, "Tiempo Conexión"},
    {"ProgressBarSenal", "PanelIndicadores", "QProgressBar", 201, 3, 23, 40, "Nivel de señal wi-fi"},
    {"PanelSuperior", "PanelContenedor", "QFrame", 230, 0, 544, 313, ""},
    {"PanelConectar", "PanelSuperior", "QFrame", 1, 1, 171, 197, ""},
    {"RadioGroupMotor", "PanelConectar", "TRadioGroup", 3, 1, 165, 51, ""},
    {"GroupBoxServidor", "PanelConectar", "QGroupBox", 3, 53, 165, 61, ""},
    {"LabelServidor", "GroupBoxServidor", "QLabel", 6, 14, -1, -1, ""},
    {"LabelPuerto", "GroupBoxServidor", "QLabel", 6, 36, -1, -1, ""},
    {"EditIp1", "GroupBoxServidor", "QLineEdit", 51, 12, 25, 19, "Dirección IP del servidor EmoComposer"},
    {"EditIp2", "GroupBoxServidor", "QLineEdit", 79, 12, 25, 19, "Dirección IP del servidor EmoComposer"},
    {"EditIp3", "GroupBoxServidor", "QLineEdit", 107, 12, 25, 19, "Dirección IP del servidor EmoComposer"},
    {"EditIp4", "GroupBoxServidor", "QLineEdit", 135, 12, 25, 19, "Dirección IP del servidor EmoComposer"},
    {"EditPuerto", "GroupBoxServidor", "QLineEdit", 51, 34, 109, 19, "Puerto del servidor EmoComposer"},
    {"BitBtnConectar", "PanelConectar", "QPushButton", 3, 118, 165, 33, "Conectar"},
    {"BitBtnDesconectar", "PanelConectar", "QPushButton", 3, 118, 165, 33, "Desconectar"},
    {"PanelPerfil", "PanelConectar", "QFrame", 0, 154, 171, 24, ""},
    {"LabelFicheroPerfil", "PanelPerfil", "QLabel", 3, 2, 138, 20, nullptr},
    {"SpeedButtonPerfil", "PanelPerfil", "QToolButton", 145, 1, 23, 22, "Carga el perfil de usuario"},
    {"ProgressBarEntrenamiento", "PanelConectar", "QProgressBar", 3, 181, 165, 13, nullptr},
    {"ToolBarPrincipal", "PanelSuperior", "QFrame", 493, 7, 44, 172, ""},
    {"ToolButtonManual", "ToolBarPrincipal", "QToolButton", 6, 6, 32, 32, nullptr},
    {"ToolButtonCasco", "ToolBarPrincipal", "QToolButton", 6, 38, 32, 32, nullptr},
    {"ToolButtonActuador", "ToolBarPrincipal", "QToolButton", 6, 70, 32, 32, nullptr},
    {"ToolButtonAyuda", "ToolBarPrincipal", "QToolButton", 6, 102, 32, 32, nullptr},
    {"ToolButtonAcercaDe", "ToolBarPrincipal", "QToolButton", 6, 134, 32, 32, nullptr},
    {"PanelRegistro", "PanelSuperior", "QFrame", 1, 198, 542, 114, ""},
    {"RichEditRegistro", "PanelRegistro", "TPanelRegistro", 3, 3, 483, 108, ""},
    {"ToolBarRegistro", "PanelRegistro", "QFrame", 492, 3, 44, 108, ""},
    {"ToolButtonLimpiar", "ToolBarRegistro", "QToolButton", 6, 6, 32, 32, nullptr},
    {"ToolButtonEstados", "ToolBarRegistro", "QToolButton", 6, 38, 32, 32, nullptr},
    {"ToolButtonGuardar", "ToolBarRegistro", "QToolButton", 6, 70, 32, 32, nullptr},
    {"PanelCalibrandoAcelerometros", "PanelRegistro", "QFrame", 131, 19, 221, 57, ""},
    {"LabelCalibrando", "PanelCalibrandoAcelerometros", "QLabel", 1, 1, 219, 29, ""},
    {"LabelPermanezca", "PanelCalibrandoAcelerometros", "QLabel", 1, 30, 219, 26, ""},
    {"GroupBoxTrackBar", "PanelSuperior", "QGroupBox", 366, 2, 121, 177, ""},
    {"TrackBarUmbralAvRet", "GroupBoxTrackBar", "QSlider", 1, 14, 119, 40, "Umbral Avance/Retroceso"},
    {"TrackBarUmbralGiro", "GroupBoxTrackBar", "QSlider", 1, 54, 119, 40, "Umbral Giro"},
    {"TrackBarAvance", "GroupBoxTrackBar", "QSlider", 1, 94, 119, 40, "Sensibilidad detección avance"},
    {"TrackBarRetroceso", "GroupBoxTrackBar", "QSlider", 1, 134, 119, 40, "Sensibilidad detección retroceso"},
    {"ImageFlechasIzquierdaDerecha", "PanelSuperior", "TImagen", 174, 72, 160, 32,
     "Giro manual: pulse una flecha (o la tecla ← o →) para fijarlo y otra vez para soltarlo.\nParada de "
     "emergencia: Espacio, Esc o 0 del teclado numérico"},
    {"CGaugeFuerza", "PanelSuperior", "TGauge", 340, 7, 20, 162, "Intensidad detectada"},
    {"ImageFlechasArribaAbajo", "PanelSuperior", "TImagen", 238, 7, 32, 162,
     "Avance y retroceso manual: mantenga pulsada la flecha (o la tecla ↑ o ↓).\nParada de emergencia: "
     "Espacio, Esc o 0 del teclado numérico"},
    {"CGaugeGiro", "PanelSuperior", "TGauge", 174, 175, 160, 20, "Aceleración detectada"},
    {"SpeedButtonCentrarCasco", "PanelSuperior", "QToolButton", 339, 173, 23, 22,
     "Inicializa el acelerómetro del casco"},
    {"ShapeIndicadorGiro", "PanelSuperior", "TShape", 272, 176, 3, 18, ""},
    {"ShapeIndicadorFuerza", "PanelSuperior", "TShape", 341, 35, 18, 3, ""},
    {"PanelGrafica", "TFMain", "QFrame", 0, 313, 774, 136, ""},
    {"ImageGrafica", "PanelGrafica", "TImagen", 3, 3, 20, 130, ""},
    {"PaintBoxGrafica", "PanelGrafica", "TPaintBox", 23, 3, 748, 130, ""},
};

TEST_F(Diseno, TheWindowIsFixedAtItsClientSizeWithoutMaximise)
{
    EXPECT_EQ(ventana.windowTitle(), "Gedanko");
    EXPECT_EQ(ventana.size(), QSize(774, 449));
    EXPECT_EQ(ventana.minimumSize(), QSize(774, 449));
    EXPECT_EQ(ventana.maximumSize(), QSize(774, 449));
    EXPECT_FALSE(ventana.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(ventana.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(ventana.windowIcon().isNull());
    ventana.show();
    ventana.showMaximized();
    QApplication::processEvents();
    EXPECT_EQ(ventana.size(), QSize(774, 449));
}

TEST_F(Formulario, EveryControlStandsAtItsDesignedPlaceWithItsHint)
{
    for (const TControl& c : Controles) {
        SCOPED_TRACE(c.nombre);
        QWidget* control = Control(c.nombre);
        ASSERT_NE(control, nullptr);
        EXPECT_TRUE(control->inherits(c.clase)) << control->metaObject()->className();
        ASSERT_NE(control->parentWidget(), nullptr);
        EXPECT_EQ(control->parentWidget()->objectName(), c.padre);
        EXPECT_EQ(control->pos(), QPoint(c.x, c.y));
        if (c.ancho >= 0) {
            EXPECT_EQ(control->size(), QSize(c.ancho, c.alto));
        }
        if (c.hint) {
            EXPECT_EQ(control->toolTip(), QString::fromUtf8(c.hint));
        }
    }
}

TEST_F(Formulario, CaptionsAndItemsAreTheDesignedTexts)
{
    const std::pair<QLabel*, const char*> etiquetas[] = {
        {ui.LabelEstado, "Estado"},
        {ui.LabelTiempoConexionEtq, "Tiempo:"},
        {ui.LabelTiempoConexion, "0000.000"},
        {ui.LabelServidor, "Servidor:"},
        {ui.LabelPuerto, "Puerto:"},
        {ui.LabelCalibrando, "Calibrando Acelerómetros"},
        {ui.LabelPermanezca, "Permanezca inmóvil medio segundo"},
    };
    for (const auto& [etiqueta, texto] : etiquetas)
        EXPECT_EQ(etiqueta->text(), QString::fromUtf8(texto)) << etiqueta->objectName().toStdString();
    EXPECT_EQ(ui.BitBtnConectar->text(), "Conectar");
    EXPECT_EQ(ui.BitBtnDesconectar->text(), "Desconectar");
    EXPECT_EQ(ui.RadioGroupMotor->Elementos(), QStringList({"EmoEngine", "EmoComposer"}));
    EXPECT_EQ(ui.RadioGroupMotor->IndiceElemento(), 0);
    EXPECT_TRUE(ui.RadioGroupMotor->title().isEmpty());
    EXPECT_TRUE(ui.GroupBoxServidor->title().isEmpty());
    EXPECT_TRUE(ui.GroupBoxTrackBar->title().isEmpty());
}

TEST_F(Formulario, GaugesBarsAndShapesHaveTheirDesignedLook)
{
    struct TGaugeDisenado {
        TGauge* gauge;
        bool vertical;
        int maximo, progreso;
        TColor relleno, fondo;
        bool texto;
    };
    const TGaugeDisenado gauges[] = {
        {ui.CGaugeBateria, false, 100, 50, clGreen, clWhite, true},
        {ui.CGaugeFuerza, true, 10, 5, clBlue, clYellow, false},
        {ui.CGaugeGiro, false, 10, 5, clBlue, clYellow, false},
    };
    for (const TGaugeDisenado& g : gauges) {
        SCOPED_TRACE(g.gauge->objectName().toStdString());
        EXPECT_EQ(g.gauge->Vertical(), g.vertical);
        EXPECT_EQ(g.gauge->Minimo(), 0);
        EXPECT_EQ(g.gauge->Maximo(), g.maximo);
        EXPECT_EQ(g.gauge->Progreso(), g.progreso);
        EXPECT_EQ(g.gauge->ColorRelleno(), AColorQt(g.relleno));
        EXPECT_EQ(g.gauge->ColorFondo(), AColorQt(g.fondo));
        EXPECT_EQ(g.gauge->MostrarTexto(), g.texto);
    }

    struct TBarraDisenada {
        QProgressBar* barra;
        Qt::Orientation orientacion;
        int maximo, valor;
        TColor color;
    };
    const TBarraDisenada barras[] = {
        {ui.ProgressBarSenal, Qt::Vertical, 2, 1, clLime},
        {ui.ProgressBarEntrenamiento, Qt::Horizontal, 100, 50, clRed},
    };
    for (const TBarraDisenada& b : barras) {
        SCOPED_TRACE(b.barra->objectName().toStdString());
        EXPECT_EQ(b.barra->orientation(), b.orientacion);
        EXPECT_EQ(b.barra->minimum(), 0);
        EXPECT_EQ(b.barra->maximum(), b.maximo);
        EXPECT_EQ(b.barra->value(), b.valor);
        EXPECT_FALSE(b.barra->isTextVisible());
        EXPECT_EQ(ColorBarra(b.barra), AColorQt(b.color));
    }

    for (TShape* marca : forma.findChildren<TShape*>(QRegularExpression("^ShapeElectodo"))) {
        SCOPED_TRACE(marca->objectName().toStdString());
        const bool grande = marca->width() == 22;
        const QString nombre = marca->objectName();
        const TColor esperado = nombre.endsWith("15") ? clYellow : nombre.endsWith("16") ? clNaranja : clLime;
        EXPECT_TRUE(marca->Circulo());
        EXPECT_EQ(marca->AnchoBorde(), grande ? 3 : 2);
        EXPECT_EQ(marca->ColorRelleno(), AColorQt(esperado));
    }
    for (TShape* marca : {ui.ShapeIndicadorFuerza, ui.ShapeIndicadorGiro}) {
        EXPECT_FALSE(marca->Circulo());
        EXPECT_EQ(marca->ColorRelleno(), AColorQt(clRed));
    }

    const std::tuple<QWidget*, TColor, TColor, bool> etiquetas[] = {
        {ui.LabelEstado, clGreen, clWhite, true},
        {ui.LabelTiempoConexion, clWhite, clWindowText, true},
        {ui.LabelFicheroPerfil, clYellow, clWindowText, true},
        {ui.PanelCalibrandoAcelerometros, clYellow, clWindowText, false},
    };
    for (const auto& [control, fondo, fuente, negrita] : etiquetas) {
        SCOPED_TRACE(control->objectName().toStdString());
        EXPECT_TRUE(control->autoFillBackground());
        EXPECT_EQ(ColorFondo(control), AColorQt(fondo, control->palette()));
        EXPECT_EQ(ColorFuente(control), AColorQt(fuente, control->palette()));
        EXPECT_EQ(control->font().bold(), negrita);
    }
    EXPECT_EQ(ColorFuente(ui.LabelCalibrando), AColorQt(clNavy));
    EXPECT_EQ(ui.LabelTiempoConexion->alignment(), Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_EQ(ui.LabelEstado->alignment(), Qt::AlignCenter);
}

TEST_F(Formulario, TrackBarsHaveTheirRangesStepsAndTicks)
{
    const std::tuple<QSlider*, int, int, int, int> barras[] = {
        {ui.TrackBarUmbralAvRet, 0, 10, 5, 1},
        {ui.TrackBarUmbralGiro, 0, 10, 5, 1},
        {ui.TrackBarAvance, 0, 1000, 500, 100},
        {ui.TrackBarRetroceso, 1, 9, 5, 1},
    };
    for (const auto& [barra, minimo, maximo, valor, marcas] : barras) {
        SCOPED_TRACE(barra->objectName().toStdString());
        EXPECT_EQ(barra->orientation(), Qt::Horizontal);
        EXPECT_EQ(barra->minimum(), minimo);
        EXPECT_EQ(barra->maximum(), maximo);
        EXPECT_EQ(barra->value(), valor);
        EXPECT_EQ(barra->tickInterval(), marcas);
        EXPECT_EQ(barra->tickPosition(), QSlider::TicksBelow);
        EXPECT_EQ(barra->singleStep(), 1);
        EXPECT_EQ(barra->pageStep(), 2);
    }
}

TEST_F(Diseno, ImagesOpenWithTheFirstPictureOfTheirLists)
{
    const std::pair<TImagen*, QPixmap> imagenes[] = {
        {ui.ImageCasco, ImagenCasco(0)},
        {ui.ImageFlechasArribaAbajo, ImagenFlechasArribaAbajo(0)},
        {ui.ImageFlechasIzquierdaDerecha, ImagenFlechasIzquierdaDerecha(0)},
        {ui.ImageGrafica, ImagenLeyenda()},
    };
    for (const auto& [imagen, esperada] : imagenes) {
        SCOPED_TRACE(imagen->objectName().toStdString());
        EXPECT_EQ(imagen->alignment(), Qt::AlignCenter);
        EXPECT_FALSE(imagen->autoFillBackground()); // transparent
        EXPECT_EQ(imagen->pixmap().toImage(), esperada.toImage());
    }
}

TEST_F(Diseno, EditsTakeDigitsOnlyUpToTheirLength)
{
    const std::pair<QLineEdit*, int> edits[] = {
        {ui.EditIp1, 3}, {ui.EditIp2, 3}, {ui.EditIp3, 3}, {ui.EditIp4, 3}, {ui.EditPuerto, 5},
    };
    for (const auto& [edit, longitud] : edits) {
        SCOPED_TRACE(edit->objectName().toStdString());
        EXPECT_EQ(edit->maxLength(), longitud);
        edit->setEnabled(true);
        edit->clear();
        QTest::keyClicks(edit, "1a-2. 3x45678");
        EXPECT_EQ(edit->text(), QString("12345678").left(longitud));
    }
    for (QLineEdit* ip : {ui.EditIp1, ui.EditIp2, ui.EditIp3, ui.EditIp4})
        EXPECT_EQ(ip->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
}

TEST_F(Diseno, TheLogPaneIsReadOnlyFixedPitchAndNeverReachedByTab)
{
    TPanelRegistro* registro = ui.RichEditRegistro;
    EXPECT_EQ(registro->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(registro->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(registro->frameShape(), QFrame::NoFrame);
    EXPECT_TRUE(registro->font().fixedPitch());
    EXPECT_EQ(registro->font().family(), "Courier New");
    EXPECT_EQ(registro->font().pixelSize(), 11);
    // Typing into the pane changes nothing.
    const QString antes = registro->TextoCompleto();
    QTest::keyClicks(registro, "abc");
    QTest::keyClick(registro, Qt::Key_Backspace);
    EXPECT_EQ(registro->TextoCompleto(), antes);

    // Walk the whole tab chain from the first edit: the pane is never in it,
    // and the designed controls come in their designed order.
    ventana.show();
    QWidget* actual = ui.RadioGroupMotor->Boton(0);
    QStringList cadena;
    for (int paso = 0; paso < 60; ++paso) {
        if (actual->focusPolicy() & Qt::TabFocus)
            cadena << actual->objectName();
        actual = actual->nextInFocusChain();
    }
    EXPECT_FALSE(cadena.contains("RichEditRegistro"));
    const QStringList disenado = {"RadioGroupMotor_0",
                                  "EditIp1",
                                  "EditIp2",
                                  "EditIp3",
                                  "EditIp4",
                                  "EditPuerto",
                                  "BitBtnConectar",
                                  "BitBtnDesconectar",
                                  "TrackBarUmbralAvRet",
                                  "TrackBarUmbralGiro",
                                  "TrackBarAvance",
                                  "TrackBarRetroceso"};
    QStringList vistos;
    for (const QString& nombre : cadena)
        if (disenado.contains(nombre) && !vistos.contains(nombre))
            vistos << nombre;
    EXPECT_EQ(vistos, disenado);
}

TEST_F(Diseno, FontsAreTheDesignedPixelSizes)
{
    EXPECT_EQ(ventana.font().family(), "Tahoma");
    EXPECT_EQ(ventana.font().pixelSize(), 11);
    EXPECT_EQ(ui.EditPuerto->font().pixelSize(), 11);
    EXPECT_EQ(ui.LabelEstado->font().pixelSize(), 11);
    EXPECT_EQ(ui.LabelCalibrando->font().pixelSize(), 15);
    EXPECT_TRUE(ui.LabelCalibrando->font().bold());
    EXPECT_EQ(ui.LabelPermanezca->font().pixelSize(), 12);
    EXPECT_FALSE(ui.LabelPermanezca->font().bold());
}

struct TAccion {
    const char* nombre;
    const char* categoria;
    const char* texto;
    const char* hint;
    bool imagen;
    bool marcable;
    bool marcada;
};

const TAccion Acciones[] = {
    {"ActionManual", "ToolBarPrincipal", "", "Activación manual", true, true, true},
    {"ActionCasco", "ToolBarPrincipal", "", "Activación desde el casco", true, true, false},
    {"ActionActuador", "ToolBarPrincipal", "", "Control del puerto paralelo", true, true, false},
    {"ActionConectar", "Botones", "Conectar", "Conectar", false, false, false},
    {"ActionDesconectar", "Botones", "Desconectar", "Desconectar", false, false, false},
    {"ActionCargaPerfil", "Botones", "", "Carga el perfil de usuario", false, false, false},
    {"ActionLimpiar", "ToolBarRegistro", "Limpiar Registro", "Limpiar Registro", true, false, false},
    {"ActionEstados", "ToolBarRegistro", "Visualizar Estados", "Visualizar Estados", true, true, false},
    {"ActionGuardar", "ToolBarRegistro", "Guardar Registro", "Guardar Registro", true, false, false},
    {"ActionAyuda", "ToolBarPrincipal", "Ayuda", "Ayuda", true, false, false},
    {"ActionAcercaDe", "ToolBarPrincipal", "Acerca de...", "Acerca de...", true, false, false},
    {"ActionCentrarCasco", "Botones", "", "Inicializa el acelerómetro del casco", false, false, false},
};

TEST_F(Formulario, ActionsHaveTheirCaptionsHintsCategoriesAndCheckBehaviour)
{
    for (const TAccion& a : Acciones) {
        SCOPED_TRACE(a.nombre);
        auto* accion = forma.findChild<QAction*>(QLatin1String(a.nombre));
        ASSERT_NE(accion, nullptr);
        EXPECT_EQ(accion->property("categoria").toString(), a.categoria);
        EXPECT_EQ(accion->text(), QString::fromUtf8(a.texto));
        EXPECT_EQ(accion->toolTip(), QString::fromUtf8(a.hint));
        EXPECT_EQ(accion->isCheckable(), a.marcable);
        EXPECT_EQ(accion->isChecked(), a.marcada);
        EXPECT_EQ(accion->shortcut().isEmpty(), accion != ui.ActionAyuda);
    }
    EXPECT_EQ(ui.ActionAyuda->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(ui.ActionAyuda->shortcutContext(), Qt::WindowShortcut);
}

TEST_F(Diseno, ToolButtonsShowTheirActionsImageOnly)
{
    for (const TAccion& a : Acciones) {
        auto* accion = ventana.findChild<QAction*>(QLatin1String(a.nombre));
        ASSERT_NE(accion, nullptr);
        EXPECT_EQ(!accion->icon().isNull(), a.imagen) << a.nombre;
    }
    for (QToolButton* boton : ventana.findChildren<QToolButton*>(QRegularExpression("^ToolButton"))) {
        SCOPED_TRACE(boton->objectName().toStdString());
        ASSERT_NE(boton->defaultAction(), nullptr);
        EXPECT_EQ(boton->toolTip(), boton->defaultAction()->toolTip());
        EXPECT_EQ(boton->toolButtonStyle(), Qt::ToolButtonIconOnly);
        EXPECT_EQ(boton->iconSize(), QSize(24, 24));
        EXPECT_EQ(boton->focusPolicy(), Qt::NoFocus);
    }
}

TEST_F(Diseno, ModeActionsAreOneChoiceAndTheStateSwitchTogglesOncePerClick)
{
    ui.ToolButtonCasco->click();
    EXPECT_TRUE(ui.ActionCasco->isChecked());
    EXPECT_FALSE(ui.ActionManual->isChecked());
    ui.ToolButtonCasco->click(); // the chosen one stays chosen
    EXPECT_TRUE(ui.ActionCasco->isChecked());
    ui.ToolButtonManual->click();
    EXPECT_TRUE(ui.ActionManual->isChecked());
    EXPECT_FALSE(ui.ActionCasco->isChecked());

    ui.ToolButtonEstados->click();
    EXPECT_TRUE(ui.ActionEstados->isChecked());
    EXPECT_TRUE(ui.ToolButtonEstados->isChecked());
    ui.ToolButtonEstados->click();
    EXPECT_FALSE(ui.ActionEstados->isChecked());
    EXPECT_FALSE(ui.ToolButtonEstados->isChecked());
}

// The buttons' handlers open dialogs or connect, so only the binding is
// looked at here; clicks through a binding are tested on their own.
TEST_F(Diseno, ButtonsFollowTheirActions)
{
    ventana.show();
    // Only one of the two buttons that share a place is ever shown.
    EXPECT_NE(ui.BitBtnConectar->isVisible(), ui.BitBtnDesconectar->isVisible());
    for (bool conectado : {true, false}) {
        ui.ActionConectar->setVisible(!conectado);
        ui.ActionDesconectar->setVisible(conectado);
        EXPECT_EQ(ui.BitBtnConectar->isVisible(), !conectado);
        EXPECT_EQ(ui.BitBtnDesconectar->isVisible(), conectado);
    }
    const std::pair<QAbstractButton*, QAction*> enlaces[] = {
        {ui.BitBtnConectar, ui.ActionConectar},
        {ui.BitBtnDesconectar, ui.ActionDesconectar},
        {ui.SpeedButtonPerfil, ui.ActionCargaPerfil},
        {ui.SpeedButtonCentrarCasco, ui.ActionCentrarCasco},
    };
    for (const auto& [boton, accion] : enlaces) {
        SCOPED_TRACE(boton->objectName().toStdString());
        EXPECT_EQ(boton->toolTip(), accion->toolTip());
        accion->setVisible(true); // a hidden action is also disabled
        for (bool habilitada : {true, false, true}) {
            accion->setEnabled(habilitada);
            EXPECT_EQ(boton->isEnabled(), habilitada);
        }
    }
    EXPECT_FALSE(ui.SpeedButtonPerfil->icon().isNull());
    EXPECT_FALSE(ui.SpeedButtonCentrarCasco->icon().isNull());
}

TEST_F(Diseno, F1AnywhereInTheWindowAsksForHelp)
{
    ventana.show();
    ventana.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&ventana));
    // The help handler opens a window: only the shortcut is looked at here.
    QObject::disconnect(ui.ActionAyuda, &QAction::triggered, nullptr, nullptr);
    QSignalSpy ayuda(ui.ActionAyuda, &QAction::triggered);
    for (QWidget* foco : std::initializer_list<QWidget*> {ui.EditPuerto, ui.RichEditRegistro, ui.TrackBarAvance}) {
        foco->setEnabled(true);
        foco->setFocus();
        QTest::keyClick(foco, Qt::Key_F1);
    }
    EXPECT_EQ(ayuda.count(), 3);
}

TEST_F(Diseno, LaterControlsLieAboveEarlierOnes)
{
    ventana.show();
    // Shown as while connected and during a gyro re-zero.
    ui.ShapeIndicadorFuerza->show();
    ui.ShapeIndicadorGiro->show();
    ui.PanelCalibrandoAcelerometros->show();
    auto encima = [](QWidget* control) {
        const QPoint centro = control->geometry().center();
        return control->parentWidget()->childAt(centro);
    };
    EXPECT_EQ(encima(ui.ImageFlechasArribaAbajo), ui.ImageFlechasArribaAbajo);
    EXPECT_EQ(ui.PanelSuperior->childAt(ui.ImageFlechasIzquierdaDerecha->geometry().center()),
              ui.ImageFlechasArribaAbajo);
    EXPECT_EQ(encima(ui.ShapeIndicadorFuerza), ui.ShapeIndicadorFuerza);
    EXPECT_EQ(encima(ui.ShapeIndicadorGiro), ui.ShapeIndicadorGiro);
    for (TShape* marca : ventana.findChildren<TShape*>(QRegularExpression("^ShapeElectodo")))
        EXPECT_EQ(encima(marca), marca) << marca->objectName().toStdString();
    const QWidget* sobreRegistro = ui.PanelRegistro->childAt(ui.PanelCalibrandoAcelerometros->geometry().center());
    EXPECT_TRUE(sobreRegistro == ui.PanelCalibrandoAcelerometros
                || sobreRegistro->parentWidget() == ui.PanelCalibrandoAcelerometros);
    ui.PanelCalibrandoAcelerometros->hide();
    EXPECT_EQ(ui.PanelRegistro->childAt(ui.PanelCalibrandoAcelerometros->geometry().center()),
              ui.RichEditRegistro->viewport());
}

TEST_F(Diseno, TheCalibrationPanelStartsHiddenAndWindowOpensCentred)
{
    ventana.show();
    QApplication::processEvents();
    EXPECT_FALSE(ui.PanelCalibrandoAcelerometros->isVisible());
    const QRect pantalla = ventana.screen()->availableGeometry();
    EXPECT_LE((ventana.frameGeometry().center() - pantalla.center()).manhattanLength(), 2);
}

// At 96 dpi every caption must fit inside its control.
TEST_F(Diseno, NoCaptionIsCutOff)
{
    ventana.show();
    auto cabe = [](const QWidget* control, const QString& texto, int relleno) {
        const int ancho = control->fontMetrics().horizontalAdvance(texto);
        EXPECT_LE(ancho + relleno, control->width())
            << control->objectName().toStdString() << ": \"" << texto.toStdString() << "\"";
        EXPECT_LE(control->fontMetrics().height(), control->height()) << control->objectName().toStdString();
    };
    for (const QLabel* etiqueta : ventana.findChildren<QLabel*>()) {
        if (etiqueta == ui.LabelFicheroPerfil || etiqueta->text().isEmpty())
            continue;
        cabe(etiqueta, etiqueta->text(), 0);
    }
    for (const QPushButton* boton : ventana.findChildren<QPushButton*>())
        cabe(boton, boton->text(), 8);
    for (int i = 0; i < 2; ++i) {
        const QRadioButton* item = ui.RadioGroupMotor->Boton(i);
        EXPECT_LE(item->sizeHint().width(), item->width());
        EXPECT_TRUE(ui.RadioGroupMotor->rect().adjusted(1, 1, -1, -1).contains(item->geometry()));
    }
    // Every text the state label and the time label will show.
    for (unsigned estado = 0; estado <= 6; ++estado) {
        ventana.MostrarEstado(estado);
        cabe(ui.LabelEstado, ui.LabelEstado->text(), 0);
    }
    ventana.MostrarTiempo(99999.999f);
    cabe(ui.LabelTiempoConexion, ui.LabelTiempoConexion->text(), 0);
}

} // namespace

// What the platform shows of a widget, for the tests that compare the screen
// with a fresh paint (offscreen and on a virtual X server).
#pragma once

#include <QCoreApplication>
#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <QWindow>

// The pixels of `hijo` as the platform shows them in its window `ventana`.
inline QImage CapturaEnPantalla(const QWidget& ventana, const QWidget& hijo)
{
    QCoreApplication::processEvents();
    const QPoint origen = hijo.mapTo(&ventana, QPoint(0, 0));
    return ventana.screen()
        ->grabWindow(ventana.winId(), origen.x(), origen.y(), hijo.width(), hijo.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// Hides a shown window and waits until the toolkit has heard from the
// platform that it is no longer exposed. An X server says so in its own
// time: a window shown again before that still counts as exposed, so a wait
// for its exposure returns at once and the test looks at the screen before
// anything has been painted there.
[[nodiscard]] inline bool OcultarVentana(QWidget& ventana)
{
    ventana.hide();
    return QTest::qWaitFor([&ventana] {
        const QWindow* ventanaPlataforma = ventana.windowHandle();
        return ventanaPlataforma == nullptr || !ventanaPlataforma->isExposed();
    });
}

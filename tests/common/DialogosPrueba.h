// The main window's modal dialogs as tests answer them: a mock for tests
// that expect each dialog, and a recorder that answers the file dialogs with
// the files the test sets and keeps every box shown.
#pragma once

#include "Dialogos.h"

#include <QString>
#include <gmock/gmock.h>

#include <vector>

class TDialogosMock : public TDialogos {
public:
    MOCK_METHOD(QString, ElegirFicheroGuardar, (QWidget*), (override));
    MOCK_METHOD(QString, ElegirFicheroAbrir, (QWidget*), (override));
    MOCK_METHOD(void, MostrarError, (QWidget*, const QString&), (override));
    MOCK_METHOD(void, MostrarMensaje, (QWidget*, const QString&), (override));
};

class TDialogosGrabados : public TDialogos {
public:
    explicit TDialogosGrabados(QString abrir = {}) : Abrir(std::move(abrir)) { }
    QString ElegirFicheroGuardar(QWidget*) override { return Guardar; }
    QString ElegirFicheroAbrir(QWidget*) override { return Abrir; }
    void MostrarError(QWidget*, const QString& texto) override { Errores.push_back(texto); }
    void MostrarMensaje(QWidget*, const QString& texto) override { Mensajes.push_back(texto); }

    QString Abrir; // answer of the open dialog; empty is Cancel
    QString Guardar; // answer of the save dialog; empty is Cancel
    std::vector<QString> Errores;
    std::vector<QString> Mensajes;
};

// Reads what the recording port library wrote: one (port, value) pair per
// Out32 call, in call order. Points the library at a fresh file on creation.
#pragma once

#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

class TGrabacion {
public:
    TGrabacion()
    {
        FFichero = FCarpeta.filePath(QStringLiteral("grabacion.txt")).toStdString();
        setenv("GEDANKO_GRABADOR", FFichero.c_str(), 1);
    }
    ~TGrabacion() { unsetenv("GEDANKO_GRABADOR"); }
    TGrabacion(const TGrabacion&) = delete;
    TGrabacion& operator=(const TGrabacion&) = delete;

    std::vector<std::pair<unsigned, unsigned>> Llamadas() const
    {
        std::vector<std::pair<unsigned, unsigned>> llamadas;
        std::ifstream entrada(FFichero);
        unsigned puerto = 0, valor = 0;
        while (entrada >> puerto >> valor)
            llamadas.emplace_back(puerto, valor);
        return llamadas;
    }

    // The values written, all of which must have gone to port 888.
    std::vector<unsigned> Valores() const
    {
        std::vector<unsigned> valores;
        for (const auto& [puerto, valor] : Llamadas()) {
            if (puerto != 888)
                ADD_FAILURE() << "Out32 called with port " << puerto;
            valores.push_back(valor);
        }
        return valores;
    }

private:
    QTemporaryDir FCarpeta;
    std::string FFichero;
};

// Connection to the local engine with its simulated or real headset.
#pragma once

#include "Conexion.h"

class TConexionCasco : public TConexion {
public:
    bool Conectar() override;
};

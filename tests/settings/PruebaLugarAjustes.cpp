// Where the settings file lives: beside a copy that owns a writable folder,
// in the user's configuration folder for an installed copy or a read-only one.
#include "LugarAjustes.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct TCasoLugar {
    const char* Nombre;
    const char* Ejecutable;
    bool CarpetaEscribible;
    bool FicheroEscribible;
    const char* Configuracion;
    const char* Esperado;
};

TEST(LugarAjustes, JuntoAlEjecutableSalvoInstaladoOEnUnaCarpetaDeSoloLectura)
{
    const TCasoLugar casos[] = {
        {.Nombre = "build folder",
         .Ejecutable = "/home/ana/gedanko/build/bin/gedanko",
         .CarpetaEscribible = true,
         .FicheroEscribible = false,
         .Configuracion = "/home/ana/.config",
         .Esperado = "/home/ana/gedanko/build/bin/gedanko.ini"},
        {.Nombre = "read-only folder, writable file kept in place",
         .Ejecutable = "/media/usb/gedanko",
         .CarpetaEscribible = false,
         .FicheroEscribible = true,
         .Configuracion = "/home/ana/.config",
         .Esperado = "/media/usb/gedanko.ini"},
        {.Nombre = "read-only folder",
         .Ejecutable = "/media/cd/gedanko",
         .CarpetaEscribible = false,
         .FicheroEscribible = false,
         .Configuracion = "/home/ana/.config",
         .Esperado = "/home/ana/.config/gedanko/gedanko.ini"},
        {.Nombre = "installed, as a user",
         .Ejecutable = "/usr/lib/gedanko/gedanko",
         .CarpetaEscribible = false,
         .FicheroEscribible = false,
         .Configuracion = "/home/ana/.config",
         .Esperado = "/home/ana/.config/gedanko/gedanko.ini"},
        {.Nombre = "installed, as root, who may write there",
         .Ejecutable = "/usr/lib/gedanko/gedanko",
         .CarpetaEscribible = true,
         .FicheroEscribible = true,
         .Configuracion = "/root/.config",
         .Esperado = "/root/.config/gedanko/gedanko.ini"},
        {.Nombre = "installed below another prefix",
         .Ejecutable = "/usr/local/lib/gedanko/gedanko",
         .CarpetaEscribible = true,
         .FicheroEscribible = false,
         .Configuracion = "/home/ana/.config",
         .Esperado = "/home/ana/.config/gedanko/gedanko.ini"},
        {.Nombre = "a folder merely named like it",
         .Ejecutable = "/home/ana/mylib/gedanko/gedanko",
         .CarpetaEscribible = true,
         .FicheroEscribible = false,
         .Configuracion = "/home/ana/.config",
         .Esperado = "/home/ana/mylib/gedanko/gedanko.ini"},
        {.Nombre = "the file's name follows the executable's",
         .Ejecutable = "/media/cd/GEDANKO.EXE",
         .CarpetaEscribible = false,
         .FicheroEscribible = false,
         .Configuracion = "/cfg",
         .Esperado = "/cfg/gedanko/GEDANKO.ini"},
        {.Nombre = "no configuration folder",
         .Ejecutable = "/usr/lib/gedanko/gedanko",
         .CarpetaEscribible = false,
         .FicheroEscribible = false,
         .Configuracion = "",
         .Esperado = "/usr/lib/gedanko/gedanko.ini"},
    };
    for (const TCasoLugar& caso : casos) {
        SCOPED_TRACE(caso.Nombre);
        TSituacionAjustes situacion;
        situacion.FEjecutable = QString::fromUtf8(caso.Ejecutable);
        situacion.FCarpetaEscribible = caso.CarpetaEscribible;
        situacion.FFicheroEscribible = caso.FicheroEscribible;
        situacion.FConfiguracionUsuario = QString::fromUtf8(caso.Configuracion);
        EXPECT_EQ(ElegirRutaAjustes(situacion), QString::fromUtf8(caso.Esperado));
    }
}

// The real probe for an installed copy: the user's folder from
// XDG_CONFIG_HOME, created so that the first exit can write the file.
TEST(LugarAjustes, UnaCopiaInstaladaCreaSuCarpetaEnLaConfiguracionDelUsuario)
{
    QTemporaryDir prefijo;
    QTemporaryDir configuracion;
    ASSERT_TRUE(prefijo.isValid() && configuracion.isValid());
    const QString programa = prefijo.filePath(QStringLiteral("lib/gedanko"));
    ASSERT_TRUE(QDir().mkpath(programa));
    const QByteArray anterior = qgetenv("XDG_CONFIG_HOME");
    const bool habia = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configuracion.path()));

    const QString ruta = RutaAjustes(programa + QStringLiteral("/gedanko"));

    if (habia)
        qputenv("XDG_CONFIG_HOME", anterior);
    else
        qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(ruta, configuracion.filePath(QStringLiteral("gedanko/gedanko.ini")));
    EXPECT_TRUE(QFileInfo(QFileInfo(ruta).path()).isDir());
    // A copy in its own writable folder keeps the file beside it.
    EXPECT_EQ(RutaAjustes(prefijo.filePath(QStringLiteral("gedanko"))),
              prefijo.filePath(QStringLiteral("gedanko.ini")));
}

} // namespace

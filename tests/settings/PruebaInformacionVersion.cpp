// The version strings compiled into the program and the texts built from
// them, with and without version information.
#include "InformacionVersion.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(InformacionVersion, LeeLasSeisCadenasDeEstaVersion)
{
    const TInformacionVersion informacion = TInformacionVersion::Leer();
    EXPECT_EQ(informacion.FVersionProducto, QStringLiteral("1.0.0"));
    EXPECT_EQ(informacion.FVersionFichero, QStringLiteral("1.0.0.6"));
    EXPECT_EQ(informacion.FComentarios, QStringLiteral("14/09/2010"));
    EXPECT_EQ(informacion.FNombreInterno, QStringLiteral("Gedanko"));
    EXPECT_EQ(informacion.FNombreProducto, QStringLiteral("Gedanko: conducción de un vehículo con señales cerebrales"));
    EXPECT_EQ(informacion.FDerechosAutor, QStringLiteral("Proyecto Gedanko"));

    EXPECT_EQ(informacion.PrimeraLineaRegistro(), QStringLiteral("Gedanko V:1.0.0 (1.0.0.6) - 14/09/2010"));
    EXPECT_EQ(informacion.SegundaLineaRegistro(), QStringLiteral("2010 - Proyecto Gedanko"));
    EXPECT_EQ(informacion.TextoVersion(), QStringLiteral("Versión: 1.0.0 (1.0.0.6)"));
    EXPECT_EQ(informacion.TextoAutor(), QStringLiteral("14/09/2010 - Proyecto Gedanko"));
}

void EsperarVacia(const TInformacionVersion& informacion)
{
    EXPECT_TRUE(informacion.FVersionProducto.isEmpty());
    EXPECT_TRUE(informacion.FVersionFichero.isEmpty());
    EXPECT_TRUE(informacion.FComentarios.isEmpty());
    EXPECT_TRUE(informacion.FNombreInterno.isEmpty());
    EXPECT_TRUE(informacion.FNombreProducto.isEmpty());
    EXPECT_TRUE(informacion.FDerechosAutor.isEmpty());
}

TEST(InformacionVersion, SinInformacionQuedanSoloLasPartesFijas)
{
    QTemporaryDir carpeta;
    const QString sinInformacion[] = {
        carpeta.filePath(QStringLiteral("no-existe.json")),
        QStringLiteral(":/no/existe.json"),
        carpeta.path(),
    };
    for (const QString& ruta : sinInformacion) {
        const TInformacionVersion informacion = TInformacionVersion::Leer(ruta);
        EsperarVacia(informacion);
        EXPECT_EQ(informacion.PrimeraLineaRegistro(), QStringLiteral(" V: () - "));
        EXPECT_EQ(informacion.SegundaLineaRegistro(), QStringLiteral("2010 - "));
        EXPECT_EQ(informacion.TextoVersion(), QStringLiteral("Versión:  ()"));
        EXPECT_EQ(informacion.TextoAutor(), QStringLiteral(" - "));
    }
}

// Only the Spanish / Windows-1252 block counts; a value that is missing or
// is not a string stays empty.
TEST(InformacionVersion, UnValorQueNoSeEncuentraDejaSuCampoVacio)
{
    QTemporaryDir carpeta;
    const std::pair<const char*, const char*> casos[] = {
        {R"({"StringFileInfo": {"0C0A04E4": {"ProductVersion": "2.1", "FileVersion": 7},
                                "040904E4": {"InternalName": "Other"}}})",
         "2.1"},
        {R"({"StringFileInfo": {"040904E4": {"ProductVersion": "2.1"}}})", ""},
        {R"({"StringFileInfo": ["0C0A04E4"]})", ""},
        {"no es json", ""},
        {"", ""},
    };
    for (const auto& [contenido, versionProducto] : casos) {
        const QString ruta = carpeta.filePath(QStringLiteral("version.json"));
        QFile fichero(ruta);
        ASSERT_TRUE(fichero.open(QIODevice::WriteOnly | QIODevice::Truncate));
        fichero.write(contenido);
        fichero.close();

        TInformacionVersion informacion = TInformacionVersion::Leer(ruta);
        EXPECT_EQ(informacion.FVersionProducto, QString::fromUtf8(versionProducto)) << contenido;
        informacion.FVersionProducto.clear();
        EsperarVacia(informacion);
    }
}

} // namespace

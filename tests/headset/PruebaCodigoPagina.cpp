// Conversion to Windows-1252: Latin-1, the 0x80..0x9F block, and '?' for
// every character outside the code page. File names for the engine keep
// Windows-1252 when it can hold them and the file system's bytes otherwise.
#include "CodigoPagina.h"
#include "Motor.h"
#include "edk.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(CodigoPagina, ConvertsEachCharacter)
{
    struct {
        QString Texto;
        QByteArray Esperado;
    } casos[] = {
        {QStringLiteral("127.0.0.1"), QByteArray("127.0.0.1")},
        {QString(), QByteArray()},
        {QStringLiteral("Perfil Ñandú.emu"), QByteArray("Perfil \xD1"
                                                        "and\xFA.emu")},
        {QString(QChar(0x00A0)) + QChar(0x00FF), QByteArray("\xA0\xFF")},
        {QStringLiteral("€‚ƒ„…†‡ˆ‰Š‹ŒŽ"), QByteArray("\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E")},
        {QStringLiteral("‘’“”•–—˜™š›œžŸ"), QByteArray("\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9E\x9F")},
        // outside the code page: Cyrillic, a C1 control, an undefined slot's code point
        {QStringLiteral("aЖb"), QByteArray("a?b")},
        {QString(QChar(0x0081)) + QChar(0x009D), QByteArray("??")},
        // a surrogate pair is one character; a lone surrogate is one too
        {QStringLiteral("x😀y"), QByteArray("x?y")},
        {QString(QChar(0xD800)) + u'z' + QChar(0xDC00), QByteArray("?z?")},
        // NUL would end the text early
        {QString(QChar(0)) + u'a', QByteArray("?a")},
    };
    for (const auto& caso : casos)
        EXPECT_EQ(ACodigoPagina(caso.Texto), caso.Esperado) << caso.Texto.toStdString();
}

TEST(CodigoPagina, LatinOneCharactersKeepTheirCode)
{
    for (int codigo = 1; codigo < 256; ++codigo) {
        if (codigo < 0x80 || codigo >= 0xA0) {
            EXPECT_EQ(ACodigoPagina(QString(QChar(codigo))), QByteArray(1, char(codigo))) << codigo;
        }
    }
}

TEST(CodigoPagina, FileNamesKeepWindows1252OnlyWhenEveryCharacterFits)
{
    struct {
        QString Nombre;
        QByteArray Esperado;
    } casos[] = {
        {QStringLiteral("/perfiles/ana.emu"), QByteArray("/perfiles/ana.emu")},
        {QStringLiteral("/perfiles/perfíl€.emu"), QByteArray("/perfiles/perf\xEDl\x80.emu")},
        {QStringLiteral("¿qué?.emu"), QByteArray("\xBFqu\xE9?.emu")}, // a real '?' fits
        // one character outside the code page: the whole name as the file system has it
        {QStringLiteral("/tmp/łódź.emu"), QStringLiteral("/tmp/łódź.emu").toUtf8()},
        {QStringLiteral("/perfíl/Жук.emu"), QStringLiteral("/perfíl/Жук.emu").toUtf8()},
        {QStringLiteral("x😀.emu"), QStringLiteral("x😀.emu").toUtf8()},
        {QString(), QByteArray()},
    };
    for (const auto& caso : casos)
        EXPECT_EQ(ANombreFichero(caso.Nombre), caso.Esperado) << caso.Nombre.toStdString();
}

// A source that adds user 0 and then has nothing more.
class TFuenteUnUsuario : public edk::TFuenteEventos {
public:
    int Siguiente(edk::TEvento& evento) override
    {
        if (FDado)
            return EDK_SIN_EVENTOS;
        FDado = true;
        evento.Tipo = EE_UserAdded;
        evento.Usuario = 0;
        return EDK_SIN_ERRORES;
    }

private:
    bool FDado = false;
};

TEST(CodigoPagina, TheEngineLoadsAProfileByTheNameBytesItIsGiven)
{
    QTemporaryDir carpeta;
    ASSERT_TRUE(carpeta.isValid());
    for (const QString& nombre : {QStringLiteral("łódź.emu"), QStringLiteral("perfíl.emu")}) {
        SCOPED_TRACE(nombre.toStdString());
        const QString ruta = QDir(carpeta.path()).filePath(nombre);
        QFile fichero(ruta);
        ASSERT_TRUE(fichero.open(QIODevice::WriteOnly));
        fichero.write("GEDANKO-PERFIL 1\n"
                      "sensibilidad-apretar = 500\n"
                      "sensibilidades-cognitivas = 5,5,5,5\n"
                      "cognitivas-entrenadas = neutral+tirar\n"
                      "cognitivas-activas = neutral+tirar\n"
                      "expresivas-entrenadas = neutral\n"
                      "nivel-entrenamiento = 0\n");
        fichero.close();

        edk::TMotor motor;
        void* evento = motor.CrearEvento();
        ASSERT_EQ(motor.ConectarFuente(std::make_unique<TFuenteUnUsuario>()), EDK_SIN_ERRORES);
        ASSERT_EQ(motor.SiguienteEvento(evento), EDK_SIN_ERRORES);
        EXPECT_EQ(motor.CargarPerfil(0, ANombreFichero(ruta).constData()), EDK_SIN_ERRORES);
        std::uint32_t activas = 0;
        EXPECT_EQ(motor.CognitivasActivas(0, &activas), EDK_SIN_ERRORES);
        EXPECT_EQ(activas, std::uint32_t {ACC_COG_NEUTRAL | ACC_COG_TIRAR});
        motor.Desconectar();
        motor.LiberarEvento(evento);
    }
}

} // namespace

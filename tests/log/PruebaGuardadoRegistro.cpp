// Saving the log: the bytes that reach the file and every failing step with
// the system's error code.
#include "GuardadoRegistro.h"
#include "RegistroEventos.h"

#include "CasosGuardado.h"

#include "AlmacenRegistro.h"
#include "PanelRegistro.h"
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void Escribir(const QString& ruta, const QByteArray& bytes)
{
    QFile fichero(ruta);
    ASSERT_TRUE(fichero.open(QIODevice::WriteOnly));
    fichero.write(bytes);
}

class GuardadoRegistro : public testing::Test {
protected:
    QString Ruta(const char* nombre) const { return FCarpeta.filePath(QString::fromUtf8(nombre)); }

    QTemporaryDir FCarpeta;
    TGuardadoRegistro FGuardado;
};

TEST_F(GuardadoRegistro, ElTextoDelRegistroLlegaAlFicheroEnCodigoDePagina)
{
    for (const TCasoGuardado& caso : CasosGuardado()) {
        TPanelRegistro panel;
        TRegistroEventos registro(&panel);
        for (const char* entrada : caso.Entradas)
            registro.Anadir(nrEstado, QString::fromUtf8(entrada));
        const QString ruta = Ruta("registro.txt");

        ASSERT_TRUE(FGuardado.Guardar(ruta, TGuardadoRegistro::Codificar(registro.Texto()))) << FGuardado.CodigoError();
        EXPECT_EQ(LeerFichero(ruta), caso.Bytes) << caso.Bytes.toHex(' ').toStdString();
        EXPECT_EQ(FGuardado.Mensaje(), QStringLiteral("El fichero se ha guardado con éxito"));
        // Made piece by piece, as the window saves it.
        ASSERT_TRUE(registro.Guardar(FGuardado, ruta)) << FGuardado.CodigoError();
        EXPECT_EQ(LeerFichero(ruta), caso.Bytes) << caso.Bytes.toHex(' ').toStdString();
    }
}

// A log longer than the pane keeps in memory, spilled for the most part,
// saves to the same bytes, piece by piece.
TEST_F(GuardadoRegistro, UnRegistroVolcadoSeGuardaEntero)
{
    TPanelRegistro panel;
    TRegistroEventos registro(&panel);
    QByteArray esperado;
    const TAlmacenRegistro::TLimites limites;
    const int num = int(limites.LineasPorBloque * (limites.BloquesEnMemoria + 1));
    for (int i = 0; i < num; ++i) {
        if (i % 1000 == 0) {
            registro.Anadir(nrInformacion, QStringLiteral("Perfil:\nC:\\Perfiles\\juan.emu"));
            esperado += "Perfil:\r\nC:\\Perfiles\\juan.emu\r\n";
        }
        registro.Anadir(NivelRegistro(i % 3), QStringLiteral("Línea %1: 5 € \u4e2d").arg(i));
        esperado += "L\xednea " + QByteArray::number(i) + ": 5 \x80 ?\r\n";
    }
    ASSERT_GT(panel.Almacen().BloquesVolcados(), 0u);
    const QString ruta = Ruta("registro.txt");
    ASSERT_TRUE(registro.Guardar(FGuardado, ruta)) << FGuardado.CodigoError();
    EXPECT_TRUE(LeerFichero(ruta) == esperado);
    EXPECT_EQ(FGuardado.Mensaje(), QStringLiteral("El fichero se ha guardado con éxito"));

    EXPECT_FALSE(registro.Guardar(FGuardado, QStringLiteral("/dev/full")));
    EXPECT_EQ(FGuardado.Mensaje(), QStringLiteral("Se ha producido un error escribiendo en el fichero\n28"));
    // Saving leaves the log as it was.
    EXPECT_TRUE(TGuardadoRegistro::Codificar(registro.Texto()) == esperado);
}

TEST_F(GuardadoRegistro, SustituyeElContenidoDeUnFicheroExistente)
{
    const QString ruta = Ruta("viejo.txt");
    Escribir(ruta, QByteArray(1000, 'x'));
    ASSERT_TRUE(FGuardado.Guardar(ruta, "nuevo\r\n"));
    EXPECT_EQ(LeerFichero(ruta), QByteArray("nuevo\r\n"));
    ASSERT_TRUE(FGuardado.Guardar(ruta, QByteArray()));
    EXPECT_EQ(LeerFichero(ruta), QByteArray());
}

TEST_F(GuardadoRegistro, UnFicheroBloqueadoPorOtroNoSeAbreNiSeToca)
{
    const QString ruta = Ruta("bloqueado.txt");
    Escribir(ruta, "de otro\r\n");
    const int otro = ::open(QFile::encodeName(ruta).constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(otro, 0);
    ASSERT_EQ(::flock(otro, LOCK_EX | LOCK_NB), 0);

    EXPECT_FALSE(FGuardado.Guardar(ruta, "mio\r\n"));
    EXPECT_EQ(FGuardado.PasoFallido(), pgAbrir);
    EXPECT_EQ(FGuardado.CodigoError(), EWOULDBLOCK);
    EXPECT_EQ(FGuardado.Mensaje(), QStringLiteral("Se ha producido un error abriendo el fichero\n%1").arg(EWOULDBLOCK));
    EXPECT_EQ(LeerFichero(ruta), QByteArray("de otro\r\n"));

    // Once the other holder lets go, saving works and the lock is released.
    ::close(otro);
    EXPECT_TRUE(FGuardado.Guardar(ruta, "mio\r\n"));
    EXPECT_TRUE(FGuardado.Guardar(ruta, "otra vez\r\n"));
    EXPECT_EQ(LeerFichero(ruta), QByteArray("otra vez\r\n"));
}

TEST_F(GuardadoRegistro, ErroresAlAbrirConSuCodigo)
{
    const struct {
        const char* nombre;
        QString ruta;
        int codigo;
    } casos[] = {
        {"carpeta", FCarpeta.path(), EISDIR},
        {"carpeta inexistente", Ruta("no/existe.txt"), ENOENT},
        {"tubería sin lector", Ruta("tuberia"), ENXIO},
    };
    ASSERT_EQ(::mkfifo(QFile::encodeName(Ruta("tuberia")).constData(), 0600), 0);
    for (const auto& caso : casos) {
        EXPECT_FALSE(FGuardado.Guardar(caso.ruta, "x")) << caso.nombre;
        EXPECT_EQ(FGuardado.PasoFallido(), pgAbrir) << caso.nombre;
        EXPECT_EQ(FGuardado.CodigoError(), caso.codigo) << caso.nombre;
        EXPECT_EQ(FGuardado.Mensaje(),
                  QStringLiteral("Se ha producido un error abriendo el fichero\n%1").arg(caso.codigo));
    }
    EXPECT_FALSE(QFile::exists(Ruta("no")));
}

TEST_F(GuardadoRegistro, UnFicheroDeSoloLecturaDaError13)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes read-only files";
    const QString ruta = Ruta("solo_lectura.txt");
    Escribir(ruta, "intacto");
    QFile::setPermissions(ruta, QFileDevice::ReadOwner);
    EXPECT_FALSE(FGuardado.Guardar(ruta, "x"));
    EXPECT_EQ(FGuardado.PasoFallido(), pgAbrir);
    EXPECT_EQ(FGuardado.CodigoError(), 13);
    EXPECT_EQ(FGuardado.Mensaje(), QStringLiteral("Se ha producido un error abriendo el fichero\n13"));
    EXPECT_EQ(LeerFichero(ruta), QByteArray("intacto"));
}

TEST_F(GuardadoRegistro, UnDispositivoLlenoDaErrorDeEscritura28)
{
    if (!QFile::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full";
    EXPECT_FALSE(FGuardado.Guardar(QStringLiteral("/dev/full"), "A\r\nB\r\n"));
    EXPECT_EQ(FGuardado.PasoFallido(), pgEscribir);
    EXPECT_EQ(FGuardado.CodigoError(), 28);
    EXPECT_EQ(FGuardado.Mensaje(), QStringLiteral("Se ha producido un error escribiendo en el fichero\n28"));

    // Nothing to write is no write at all.
    EXPECT_TRUE(FGuardado.Guardar(QStringLiteral("/dev/full"), QByteArray()));
    EXPECT_EQ(FGuardado.PasoFallido(), pgNinguno);
}

TEST_F(GuardadoRegistro, NoDejaDescriptoresAbiertos)
{
    const auto abiertos
        = [] { return QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size(); };
    const auto antes = abiertos();
    for (int i = 0; i < 20; ++i) {
        FGuardado.Guardar(Ruta("a.txt"), "a");
        FGuardado.Guardar(FCarpeta.path(), "a");
        FGuardado.Guardar(QStringLiteral("/dev/full"), "a");
    }
    EXPECT_EQ(abiertos(), antes);
}

} // namespace

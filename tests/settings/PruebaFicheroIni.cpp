// The settings file: where it lies, how values are read, and that writing
// touches nothing but the value written, even when the write fails or the
// folder takes no new file.
#include "FicheroIni.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct TCasoRuta {
    const char* ejecutable;
    const char* extension;
    const char* esperado;
};

TEST(RutaJuntoAlEjecutable, SustituyeLaPrimeraExeSoloEnElNombre)
{
    const TCasoRuta casos[] = {
        {"/opt/gedanko/gedanko", ".ini", "/opt/gedanko/gedanko.ini"},
        {"/opt/gedanko/gedanko", ".html", "/opt/gedanko/gedanko.html"},
        {"/opt/g/GEDANKO.EXE", ".ini", "/opt/g/GEDANKO.ini"},
        {"/opt/g/GEDANKO.EXE", ".html", "/opt/g/GEDANKO.html"},
        {"/opt/g/a.exe.exe", ".ini", "/opt/g/a.ini.exe"},
        {"/home/x.exe/gedanko", ".ini", "/home/x.exe/gedanko.ini"},
        {"/home/x.EXE/prog.Exe", ".ini", "/home/x.EXE/prog.ini"},
        {"/usr/bin/gedanko.bin", ".ini", "/usr/bin/gedanko.bin.ini"},
        {"gedanko", ".ini", "gedanko.ini"},
    };
    for (const auto& caso : casos) {
        EXPECT_EQ(
            TFicheroIni::RutaJuntoAlEjecutable(QString::fromUtf8(caso.ejecutable), QString::fromUtf8(caso.extension)),
            QString::fromUtf8(caso.esperado))
            << caso.ejecutable << " " << caso.extension;
    }
}

TEST(InterpretarEntero, DecimalHexadecimalYTextosQueNoSonEnteros)
{
    const std::pair<const char*, std::optional<int>> casos[] = {
        {"12", 12},
        {"-3", -3},
        {"+3", 3},
        {"007", 7},
        {" 7 ", 7},
        {"\t7\t", 7},
        {"0x7", 7},
        {"0X1f", 31},
        {"$A", 10},
        {"$ff", 255},
        {"-0x10", -16},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"0x7FFFFFFF", 2147483647},
        {"abc", std::nullopt},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"0x", std::nullopt},
        {"$", std::nullopt},
        {"-", std::nullopt},
        {"--3", std::nullopt},
        {"1 2", std::nullopt},
        {"5 ; comentario", std::nullopt},
        {"0xG", std::nullopt},
        {"12a", std::nullopt},
        {"2147483648", std::nullopt},
        {"0x80000000", std::nullopt},
        {"99999999999999999999", std::nullopt},
    };
    for (const auto& [texto, esperado] : casos)
        EXPECT_EQ(TFicheroIni::InterpretarEntero(QString::fromUtf8(texto)), esperado) << '"' << texto << '"';
}

// The unprivileged user (nobody) whose ids the super-user takes to meet
// permission bits as an operator does.
constexpr uid_t UsuarioSinPrivilegios = 65534;

// For one scope, the effective ids of an unprivileged user when the tests run
// as the super-user, whom permission bits do not stop; a normal user keeps
// its own. The real ids stay, so the super-user's come back at the end.
class TSinPrivilegios {
public:
    TSinPrivilegios()
    {
        if (FUsuario != 0)
            return;
        FGrupoCambiado = ::setegid(UsuarioSinPrivilegios) == 0;
        FUsuarioCambiado = FGrupoCambiado && ::seteuid(UsuarioSinPrivilegios) == 0;
    }
    ~TSinPrivilegios()
    {
        if (FUsuarioCambiado)
            (void)::seteuid(FUsuario);
        if (FGrupoCambiado)
            (void)::setegid(FGrupo);
    }
    TSinPrivilegios(const TSinPrivilegios&) = delete;
    TSinPrivilegios& operator=(const TSinPrivilegios&) = delete;

    bool SinPrivilegios() const { return ::geteuid() != 0; }

private:
    const uid_t FUsuario = ::geteuid();
    const gid_t FGrupo = ::getegid();
    bool FGrupoCambiado = false;
    bool FUsuarioCambiado = false;
};

class FicheroIni : public testing::Test {
protected:
    // A test may have taken away the folder's write permission.
    void TearDown() override { ::chmod(QFile::encodeName(FCarpeta.path()).constData(), 0700); }

    QString Ruta() const { return FCarpeta.filePath(QStringLiteral("gedanko.ini")); }

    void Escribir(const QByteArray& datos, const QString& ruta = {})
    {
        QFile fichero(ruta.isEmpty() ? Ruta() : ruta);
        ASSERT_TRUE(fichero.open(QIODevice::WriteOnly));
        ASSERT_EQ(fichero.write(datos), datos.size());
    }

    QByteArray Contenido() const
    {
        QFile fichero(Ruta());
        return fichero.open(QIODevice::ReadOnly) ? fichero.readAll() : QByteArray("<sin fichero>");
    }

    // What the program does at exit: AVRET, and GIRO only when AVRET worked.
    static bool GuardarUmbrales(TFicheroIni& ini, int avret, int giro)
    {
        return ini.EscribirEntero(QStringLiteral("UMBRALES"), QStringLiteral("AVRET"), avret)
               && ini.EscribirEntero(QStringLiteral("UMBRALES"), QStringLiteral("GIRO"), giro);
    }

    static int Leer(const TFicheroIni& ini, const char* clave)
    {
        return ini.LeerEntero(QStringLiteral("UMBRALES"), QString::fromUtf8(clave), 5);
    }

    QTemporaryDir FCarpeta;
};

TEST_F(FicheroIni, SinFicheroDaLosValoresPorDefectoYLoCreaAlEscribir)
{
    TFicheroIni ini(Ruta());
    EXPECT_EQ(Leer(ini, "AVRET"), 5);
    EXPECT_EQ(Leer(ini, "GIRO"), 5);
    EXPECT_FALSE(QFile::exists(Ruta())) << "reading must not create the file";

    ASSERT_TRUE(GuardarUmbrales(ini, 5, 5)) << ini.MensajeError().toStdString();
    EXPECT_EQ(Contenido(), QByteArray("[UMBRALES]\nAVRET=5\nGIRO=5\n"));
    EXPECT_TRUE(ini.MensajeError().isEmpty());
}

TEST_F(FicheroIni, LeeValoresDeLaSeccionYClaveSinDistinguirMayusculas)
{
    struct TCaso {
        const char* contenido;
        int avret;
        int giro;
    };
    const TCaso casos[] = {
        {"[UMBRALES]\nAVRET=12\nGIRO=-3\n", 12, -3},
        {"[umbrales]\navret=7\nGiro=0x7\n", 7, 7},
        {"[UMBRALES]\r\nAVRET = $A \r\nGIRO=+3\r\n", 10, 3},
        {"  [ Umbrales ]  \n  AVRET=4\n", 4, 5},
        {"\xEF\xBB\xBF[UMBRALES]\nAVRET=4\nGIRO=6", 4, 6},
        {"[UMBRALES]\nAVRET=abc\nGIRO=0x\n", 5, 5},
        {"[UMBRALES]\nAVRET=\nGIRO\n", 5, 5},
        {"[UMBRALES]\n;AVRET=3\n#GIRO=3\n", 5, 5},
        // A comment after a blank ends the value; a mark without a blank
        // before it is part of the value.
        {"[UMBRALES]\nAVRET=7 ; del operador\nGIRO=0x7\t# hex\n", 7, 7},
        {"[UMBRALES]\r\nAVRET = $A  ;uno ; dos\r\nGIRO=-3 #\r\n", 10, -3},
        {"[UMBRALES]\nAVRET= ; sin valor\nGIRO=7 x ; dos palabras\n", 5, 5},
        {"[UMBRALES]\nAVRET=7;pegado\nGIRO=7#pegado\n", 5, 5},
        {"[OTRA]\nAVRET=3\n[UMBRALES]\nGIRO=2\n", 5, 2},
        {"AVRET=3\n[UMBRALES]\n[OTRA]\nGIRO=2\n", 5, 5},
        {"[UMBRALES]\nAVRET=1\nAVRET=2\n[UMBRALES]\nGIRO=8\n", 1, 5},
        {"", 5, 5},
    };
    for (const auto& caso : casos) {
        Escribir(caso.contenido);
        TFicheroIni ini(Ruta());
        EXPECT_EQ(Leer(ini, "AVRET"), caso.avret) << caso.contenido;
        EXPECT_EQ(Leer(ini, "GIRO"), caso.giro) << caso.contenido;
    }
}

TEST_F(FicheroIni, LeeTextosSinElComentarioQueLosSigue)
{
    const std::pair<const char*, const char*> casos[] = {
        {"[SALIDA]\nDestino=serie:/dev/ttyACM0,57600\n", "serie:/dev/ttyACM0,57600"},
        {"[salida]\r\n destino = udp:192.168.4.1:4210 ; el coche\r\n", "udp:192.168.4.1:4210"},
        {"[SALIDA]\nDestino=\n", ""},
        {"[SALIDA]\nDestino=ñandú\n", "ñandú"},
        {"[OTRA]\nDestino=serie:/dev/x\n", "(nada)"},
        {"", "(nada)"},
    };
    for (const auto& [contenido, esperado] : casos) {
        Escribir(contenido);
        const TFicheroIni ini(Ruta());
        EXPECT_EQ(ini.LeerTexto(QStringLiteral("SALIDA"), QStringLiteral("Destino"), QStringLiteral("(nada)")),
                  QString::fromUtf8(esperado))
            << contenido;
    }
}

TEST_F(FicheroIni, UnDirectorioEnLugarDelFicheroDaLosValoresPorDefecto)
{
    ASSERT_TRUE(QDir(FCarpeta.path()).mkdir(QStringLiteral("gedanko.ini")));
    TFicheroIni ini(Ruta());
    EXPECT_EQ(Leer(ini, "AVRET"), 5);
}

TEST_F(FicheroIni, EscribirCambiaSoloElValorYConservaElRestoDelFichero)
{
    struct TCaso {
        const char* antes;
        const char* despues;
    };
    const TCaso casos[] = {
        // Plain replacement.
        {"[UMBRALES]\nAVRET=12\nGIRO=-3\n", "[UMBRALES]\nAVRET=10\nGIRO=0\n"},
        // Comments, blank lines, other sections, the names' case, the blanks
        // before a value and CR LF line ends stay as they were.
        {"; ajustes\r\n[VENTANA]\r\nX=1\r\n\r\n[umbrales]\r\nGiro = 3 ; viejo\r\n\r\n[OTRA]\r\nAVRET=9\r\n",
         "; ajustes\r\n[VENTANA]\r\nX=1\r\n\r\n[umbrales]\r\nGiro = 0 ; viejo\r\n"
         "AVRET=10\r\n\r\n[OTRA]\r\nAVRET=9\r\n"},
        // Only the value changes: the blanks around it and a comment after it
        // stay; a mark glued to the value is part of it.
        {"[UMBRALES]\nAVRET=7 ; del operador\nGIRO = 0x3\t# hex \n",
         "[UMBRALES]\nAVRET=10 ; del operador\nGIRO = 0\t# hex \n"},
        {"[UMBRALES]\nAVRET= ; sin valor\nGIRO=3  \n", "[UMBRALES]\nAVRET=10 ; sin valor\nGIRO=0  \n"},
        {"[UMBRALES]\nAVRET=7;pegado\n", "[UMBRALES]\nAVRET=10\nGIRO=0\n"},
        // A missing key goes after the section's last key, before a comment
        // and a blank line that lead to the next section.
        {"[UMBRALES]\nAVRET=1\n; la siguiente\n\n[OTRA]\nY=2\n",
         "[UMBRALES]\nAVRET=10\nGIRO=0\n; la siguiente\n\n[OTRA]\nY=2\n"},
        {"[UMBRALES]\n\n[OTRA]\nY=2\n", "[UMBRALES]\nAVRET=10\nGIRO=0\n\n[OTRA]\nY=2\n"},
        // A missing section is added at the end; a last line without its
        // line end gets one first.
        {"[OTRA]\nX=1", "[OTRA]\nX=1\n\n[UMBRALES]\nAVRET=10\nGIRO=0\n"},
        {"[UMBRALES]\nAVRET=1", "[UMBRALES]\nAVRET=10\nGIRO=0\n"},
        {"", "[UMBRALES]\nAVRET=10\nGIRO=0\n"},
        // Only the first of two equal keys is the key.
        {"[UMBRALES]\nGIRO=1\nGIRO=2\nAVRET=3\n", "[UMBRALES]\nGIRO=0\nGIRO=2\nAVRET=10\n"},
        // A byte-order mark and text in other encodings pass unchanged.
        {"\xEF\xBB\xBF[UMBRALES]\nAVRET=1\n[Ñ]\nclave=\xE1\xE9\n",
         "\xEF\xBB\xBF[UMBRALES]\nAVRET=10\nGIRO=0\n[Ñ]\nclave=\xE1\xE9\n"},
    };
    for (const auto& caso : casos) {
        Escribir(caso.antes);
        TFicheroIni ini(Ruta());
        ASSERT_TRUE(GuardarUmbrales(ini, 10, 0)) << ini.MensajeError().toStdString();
        EXPECT_EQ(Contenido(), QByteArray(caso.despues)) << caso.antes;
        EXPECT_EQ(Leer(ini, "AVRET"), 10) << caso.antes;
        EXPECT_EQ(Leer(ini, "GIRO"), 0) << caso.antes;
    }
}

TEST_F(FicheroIni, UnaRutaQueNoSePuedeEscribirFallaConUnMensaje)
{
    // Permissions do not stop the super-user, so the path is made impossible.
    Escribir("no soy una carpeta", FCarpeta.filePath(QStringLiteral("fichero")));
    ASSERT_TRUE(QDir(FCarpeta.path()).mkdir(QStringLiteral("carpeta.ini")));
    const QString rutas[] = {
        FCarpeta.filePath(QStringLiteral("fichero/gedanko.ini")),
        FCarpeta.filePath(QStringLiteral("carpeta.ini")),
        FCarpeta.filePath(QStringLiteral("no/existe/gedanko.ini")),
    };
    for (const QString& ruta : rutas) {
        TFicheroIni ini(ruta);
        EXPECT_FALSE(GuardarUmbrales(ini, 7, 7)) << ruta.toStdString();
        EXPECT_EQ(ini.MensajeError(), QStringLiteral("Unable to write to ") + ruta);
        EXPECT_FALSE(ini.DetalleError().isEmpty());
    }
    EXPECT_TRUE(QFileInfo(FCarpeta.filePath(QStringLiteral("carpeta.ini"))).isDir());
    EXPECT_EQ(QDir(FCarpeta.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList({QStringLiteral("carpeta.ini"), QStringLiteral("fichero")}))
        << "no temporary file may be left behind";
}

// A write that fails halfway (a full disk, here a file size limit that also
// binds the super-user) leaves the old file exactly as it was.
TEST_F(FicheroIni, UnaEscrituraQueFallaAMitadNoPierdeElFicheroAnterior)
{
    QByteArray antes = "[UMBRALES]\nAVRET=3\nGIRO=4\n[NOTAS]\n";
    for (int i = 0; i < 50; ++i)
        antes += "nota" + QByteArray::number(i) + "=una linea que ocupa sitio en el fichero\n";
    Escribir(antes);

    rlimit limiteAnterior {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limiteAnterior), 0);
    const auto senalAnterior = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limite = limiteAnterior;
    limite.rlim_cur = 512;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limite), 0);

    TFicheroIni ini(Ruta());
    const bool escrito = ini.EscribirEntero(QStringLiteral("UMBRALES"), QStringLiteral("AVRET"), 9);

    setrlimit(RLIMIT_FSIZE, &limiteAnterior);
    std::signal(SIGXFSZ, senalAnterior);

    EXPECT_FALSE(escrito);
    EXPECT_EQ(ini.MensajeError(), QStringLiteral("Unable to write to ") + Ruta());
    EXPECT_EQ(Contenido(), antes);
    EXPECT_EQ(QDir(FCarpeta.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList({QStringLiteral("gedanko.ini")}));
}

// A folder the user may not write to takes no temporary file: the user's own
// writable file in it is then written where it stands and cut to the new
// length. Where the folder allows, the file is still replaced whole.
TEST_F(FicheroIni, EnUnaCarpetaSinPermisoSeEscribeElMismoFichero)
{
    struct TCaso {
        const char* nombre;
        bool carpetaEscribible;
        bool ficheroEscribible;
        const char* antes;
        bool escrito;
        const char* despues;
    };
    const char* const anterior = "[UMBRALES]\nAVRET=3\nGIRO=4\n";
    const TCaso casos[] = {
        {"carpeta escribible", true, true, anterior, true, "[UMBRALES]\nAVRET=7\nGIRO=2\n"},
        {"texto mas corto", false, true, "[UMBRALES]\nAVRET=10\nGIRO=10\n[OTRA]\nX=1\n", true,
         "[UMBRALES]\nAVRET=7\nGIRO=2\n[OTRA]\nX=1\n"},
        {"texto mas largo", false, true, "[UMBRALES]\n", true, "[UMBRALES]\nAVRET=7\nGIRO=2\n"},
        {"fichero tampoco escribible", false, false, anterior, false, anterior},
    };
    const QByteArray carpeta = QFile::encodeName(FCarpeta.path());
    const QByteArray fichero = QFile::encodeName(Ruta());
    for (const TCaso& caso : casos) {
        SCOPED_TRACE(caso.nombre);
        ASSERT_EQ(::chmod(carpeta.constData(), 0700), 0);
        QFile::remove(Ruta());
        Escribir(caso.antes);
        // The folder must be reachable by the unprivileged user.
        ASSERT_EQ(::chmod(carpeta.constData(), caso.carpetaEscribible ? 0777 : 0555), 0);
        ASSERT_EQ(::chmod(fichero.constData(), caso.ficheroEscribible ? 0644 : 0444), 0);
        if (caso.ficheroEscribible && ::geteuid() == 0) {
            ASSERT_EQ(::chown(fichero.constData(), UsuarioSinPrivilegios, UsuarioSinPrivilegios), 0);
        }
        // Held open, the old file keeps its inode number from being reused.
        QFile viejo(Ruta());
        ASSERT_TRUE(viejo.open(QIODevice::ReadOnly));

        TFicheroIni ini(Ruta());
        bool escrito;
        {
            const TSinPrivilegios usuario;
            if (!usuario.SinPrivilegios())
                GTEST_SKIP() << "cannot take the ids of user " << UsuarioSinPrivilegios;
            if (!QFileInfo::exists(Ruta()))
                GTEST_SKIP() << "the temporary folder is out of reach of user " << UsuarioSinPrivilegios;
            escrito = GuardarUmbrales(ini, 7, 2);
        }

        EXPECT_EQ(escrito, caso.escrito) << ini.DetalleError().toStdString();
        EXPECT_EQ(Contenido(), QByteArray(caso.despues));
        EXPECT_EQ(ini.MensajeError(), caso.escrito ? QString() : QStringLiteral("Unable to write to ") + Ruta());
        struct stat antes { };
        struct stat despues { };
        ASSERT_EQ(::fstat(viejo.handle(), &antes), 0);
        ASSERT_EQ(::stat(fichero.constData(), &despues), 0);
        EXPECT_EQ(despues.st_ino == antes.st_ino, !caso.carpetaEscribible)
            << "replaced whole only where the folder allows";
        EXPECT_EQ(QDir(FCarpeta.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                  QStringList({QStringLiteral("gedanko.ini")}));
    }
}

} // namespace

#include "FicheroIni.h"

#include <QFile>
#include <QSaveFile>
#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <utility>

namespace {

// A line without its terminator ("\n" or "\r\n").
QByteArrayView Contenido(const QByteArray& linea)
{
    QByteArrayView vista(linea);
    if (vista.endsWith('\n'))
        vista.chop(1);
    if (vista.endsWith('\r'))
        vista.chop(1);
    return vista;
}

QByteArrayView Terminador(const QByteArray& linea)
{
    return QByteArrayView(linea).sliced(Contenido(linea).size());
}

bool MismoNombre(QByteArrayView a, const QString& b)
{
    return QString::fromUtf8(a.trimmed()).compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

// The name of a section header, or nothing when the line is not one.
std::optional<QByteArrayView> NombreSeccion(QByteArrayView contenido)
{
    const QByteArrayView limpio = contenido.trimmed();
    if (!limpio.startsWith('['))
        return std::nullopt;
    const qsizetype cierre = limpio.indexOf(']');
    if (cierre < 0)
        return std::nullopt;
    return limpio.sliced(1, cierre - 1);
}

bool EsBlanco(char c)
{
    return c == ' ' || c == '\t';
}

// A comment fills a line that begins with one of these, or ends a value
// line from a blank followed by one of these.
bool AbreComentario(char c)
{
    return c == ';' || c == '#';
}

// The position of the '=' of a key line, or -1 for comments and other lines.
qsizetype IgualDeClave(QByteArrayView contenido)
{
    const QByteArrayView limpio = contenido.trimmed();
    if (limpio.isEmpty() || AbreComentario(limpio.front()))
        return -1;
    return contenido.indexOf('=');
}

// Where the value of a key line stands: after the '=' and its blanks, before
// the blanks that end it and a comment that follows it.
struct TTramoValor {
    qsizetype FInicio;
    qsizetype FFin;
};

TTramoValor TramoValor(QByteArrayView contenido)
{
    qsizetype inicio = contenido.indexOf('=') + 1;
    qsizetype fin = contenido.size();
    for (qsizetype i = inicio; i + 1 < contenido.size(); ++i) {
        if (EsBlanco(contenido[i]) && AbreComentario(contenido[i + 1])) {
            fin = i;
            break;
        }
    }
    while (inicio < fin && EsBlanco(contenido[inicio]))
        ++inicio;
    while (fin > inicio && EsBlanco(contenido[fin - 1]))
        --fin;
    return {inicio, fin};
}

int ValorHexadecimal(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

// Allocates room for the file's first `cuantos` bytes without changing its
// length or contents, so that writing them cannot run out of space halfway.
// A file system that cannot reserve room is written without.
bool Reservar(int fd, qsizetype cuantos)
{
    if (cuantos == 0)
        return true;
    int resultado;
    do
        resultado = ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, off_t(cuantos));
    while (resultado != 0 && errno == EINTR);
    return resultado == 0 || errno == EOPNOTSUPP || errno == ENOSYS;
}

// Writes the text over an existing file and cuts the file to its length.
// Never creates the file. Room is reserved first, so a full disk leaves the
// old text whole.
bool Sobrescribir(const QString& ruta, const QByteArray& texto)
{
    QFile fichero(ruta);
    // Read and write: write only would empty the file on opening.
    if (!fichero.open(QIODevice::ReadWrite | QIODevice::ExistingOnly | QIODevice::Unbuffered))
        return false;
    if (!Reservar(fichero.handle(), texto.size()))
        return false;
    if (fichero.write(texto) != texto.size() || !fichero.resize(texto.size()))
        return false;
    fichero.close();
    return fichero.error() == QFileDevice::NoError;
}

} // namespace

TFicheroIni::TFicheroIni(QString ruta) : FRuta(std::move(ruta)) { }

QString TFicheroIni::RutaJuntoAlEjecutable(const QString& ejecutable, QStringView extension)
{
    const qsizetype barra = ejecutable.lastIndexOf(u'/');
    const QString carpeta = ejecutable.left(barra + 1);
    QString nombre = ejecutable.mid(barra + 1);
    const qsizetype exe = nombre.indexOf(QStringLiteral(".exe"), 0, Qt::CaseInsensitive);
    if (exe >= 0)
        nombre.replace(exe, 4, extension.toString());
    else
        nombre += extension;
    return carpeta + nombre;
}

std::optional<int> TFicheroIni::InterpretarEntero(QStringView texto)
{
    QStringView resto = texto.trimmed();
    bool negativo = false;
    if (resto.startsWith(u'+') || resto.startsWith(u'-')) {
        negativo = resto.front() == u'-';
        resto = resto.sliced(1);
    }
    int base = 10;
    if (resto.size() >= 3 && (resto.startsWith(u"0x") || resto.startsWith(u"0X"))) {
        base = 16;
        resto = resto.sliced(2);
    } else if (resto.size() >= 2 && resto.startsWith(u'$')) {
        base = 16;
        resto = resto.sliced(1);
    }
    if (resto.isEmpty())
        return std::nullopt;

    const qint64 limite = qint64(std::numeric_limits<int>::max()) + (negativo ? 1 : 0);
    qint64 valor = 0;
    for (const QChar c : resto) {
        const int digito = ValorHexadecimal(c);
        if (digito < 0 || digito >= base)
            return std::nullopt;
        valor = valor * base + digito;
        if (valor > limite)
            return std::nullopt;
    }
    return int(negativo ? -valor : valor);
}

bool TFicheroIni::Cargar(QList<QByteArray>& lineas, QString& detalle) const
{
    lineas.clear();
    QFile fichero(FRuta);
    if (!fichero.exists())
        return true;
    if (!fichero.open(QIODevice::ReadOnly)) {
        detalle = fichero.errorString();
        return false;
    }
    const QByteArray datos = fichero.readAll();
    if (fichero.error() != QFileDevice::NoError) {
        detalle = fichero.errorString();
        return false;
    }
    qsizetype inicio = 0;
    while (inicio < datos.size()) {
        const qsizetype salto = datos.indexOf('\n', inicio);
        const qsizetype fin = salto < 0 ? datos.size() : salto + 1;
        lineas.append(datos.sliced(inicio, fin - inicio));
        inicio = fin;
    }
    return true;
}

TFicheroIni::TPosicion TFicheroIni::Buscar(const QList<QByteArray>& lineas, const QString& seccion,
                                           const QString& clave)
{
    TPosicion posicion;
    for (qsizetype i = 0; i < lineas.size(); ++i) {
        QByteArrayView contenido = Contenido(lineas[i]);
        if (i == 0 && contenido.startsWith("\xEF\xBB\xBF"))
            contenido = contenido.sliced(3);
        if (const auto nombre = NombreSeccion(contenido)) {
            if (posicion.FSeccion >= 0)
                break; // only the first section of that name counts
            if (MismoNombre(*nombre, seccion))
                posicion.FSeccion = i;
            continue;
        }
        if (posicion.FSeccion < 0)
            continue;
        const qsizetype igual = IgualDeClave(contenido);
        if (igual < 0)
            continue;
        posicion.FUltimaClave = i;
        if (posicion.FClave < 0 && MismoNombre(contenido.first(igual), clave))
            posicion.FClave = i;
    }
    return posicion;
}

// An absent key reads as an empty text, which is no number either.
int TFicheroIni::LeerEntero(const QString& seccion, const QString& clave, int defecto) const
{
    return InterpretarEntero(LeerTexto(seccion, clave, QString())).value_or(defecto);
}

QString TFicheroIni::LeerTexto(const QString& seccion, const QString& clave, const QString& defecto) const
{
    QList<QByteArray> lineas;
    QString detalle;
    if (!Cargar(lineas, detalle))
        return defecto;
    const TPosicion posicion = Buscar(lineas, seccion, clave);
    if (posicion.FClave < 0)
        return defecto;
    const QByteArrayView contenido = Contenido(lineas[posicion.FClave]);
    const TTramoValor tramo = TramoValor(contenido);
    return QString::fromUtf8(contenido.sliced(tramo.FInicio, tramo.FFin - tramo.FInicio));
}

bool TFicheroIni::EscribirEntero(const QString& seccion, const QString& clave, int valor)
{
    FMensajeError.clear();
    FDetalleError.clear();

    QList<QByteArray> lineas;
    QString detalle;
    // A file that exists but cannot be read must not be replaced by one that
    // holds only this key.
    if (!Cargar(lineas, detalle))
        return Fallar(detalle);

    QByteArray finDeLinea = "\n";
    for (const QByteArray& linea : std::as_const(lineas)) {
        if (!Terminador(linea).isEmpty()) {
            finDeLinea = Terminador(linea).toByteArray();
            break;
        }
    }
    const QByteArray numero = QByteArray::number(valor);
    const QByteArray lineaNueva = clave.toUtf8() + '=' + numero + finDeLinea;
    // A line that gets a line after it needs its own terminator first.
    const auto terminar = [&](qsizetype i) {
        if (i >= 0 && Terminador(lineas[i]).isEmpty())
            lineas[i] += finDeLinea;
    };

    const TPosicion posicion = Buscar(lineas, seccion, clave);
    if (posicion.FClave >= 0) {
        QByteArray& linea = lineas[posicion.FClave];
        const TTramoValor tramo = TramoValor(Contenido(linea));
        linea.replace(tramo.FInicio, tramo.FFin - tramo.FInicio, numero);
    } else if (posicion.FSeccion >= 0) {
        const qsizetype tras = qMax(posicion.FSeccion, posicion.FUltimaClave);
        terminar(tras);
        lineas.insert(tras + 1, lineaNueva);
    } else {
        terminar(lineas.size() - 1);
        if (!lineas.isEmpty() && !Contenido(lineas.last()).trimmed().isEmpty())
            lineas.append(finDeLinea);
        lineas.append('[' + seccion.toUtf8() + ']' + finDeLinea);
        lineas.append(lineaNueva);
    }

    return Guardar(lineas.join());
}

bool TFicheroIni::Guardar(const QByteArray& texto)
{
    // The new text goes to a temporary file beside the old one and replaces it
    // only once it is complete. Unbuffered, so that a failed write (a full
    // disk) is seen by the save file itself and the old file is kept.
    QSaveFile fichero(FRuta);
    if (!fichero.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        // A folder that takes no new file (no permission, no free inode) may
        // still hold a file the user can write: it is written where it stands.
        const QString error = fichero.errorString();
        return Sobrescribir(FRuta, texto) || Fallar(error);
    }
    if (fichero.write(texto) != texto.size() || !fichero.flush()) {
        const QString error = fichero.errorString();
        fichero.cancelWriting();
        return Fallar(error);
    }
    if (!fichero.commit())
        return Fallar(fichero.errorString());
    return true;
}

bool TFicheroIni::Fallar(const QString& detalle)
{
    FMensajeError = QStringLiteral("Unable to write to ") + FRuta;
    FDetalleError = detalle;
    return false;
}

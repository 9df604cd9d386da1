// The operator's manual shown by F1: its internal links lead somewhere, and
// every output destination it gives as an example is one the program takes.
#include "DestinoSalida.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

QString LeerManual()
{
    QFile fichero(QStringLiteral(GEDANKO_MANUAL));
    EXPECT_TRUE(fichero.open(QIODevice::ReadOnly)) << GEDANKO_MANUAL;
    return QString::fromUtf8(fichero.readAll());
}

TEST(Manual, CadaEnlaceInternoLlevaASuAncla)
{
    const QString html = LeerManual();
    QSet<QString> anclas;
    for (const QRegularExpressionMatch& ancla :
         QRegularExpression(QStringLiteral(R"x(name="([^"]+)")x")).globalMatch(html))
        anclas.insert(ancla.captured(1));
    int enlaces = 0;
    for (const QRegularExpressionMatch& enlace :
         QRegularExpression(QStringLiteral(R"x(href="#([^"]+)")x")).globalMatch(html)) {
        ++enlaces;
        EXPECT_TRUE(anclas.contains(enlace.captured(1))) << enlace.captured(1).toStdString();
    }
    EXPECT_GT(enlaces, 0);
}

// An operator copies these lines into gedanko.ini as they stand.
TEST(Manual, LosDestinosDeEjemploSonValidosYHayUnoDeCadaClase)
{
    QTextDocument documento;
    documento.setHtml(LeerManual());
    const QString texto = documento.toPlainText();
    QSet<int> tipos;
    const QRegularExpression ejemplo(QStringLiteral(R"(Destino=(\S+))"));
    for (const QRegularExpressionMatch& encontrado : ejemplo.globalMatch(texto)) {
        QString valor = encontrado.captured(1);
        // The sentence's own punctuation is not part of the value.
        while (valor.endsWith(QLatin1Char('.')) || valor.endsWith(QLatin1Char(')')))
            valor.chop(1);
        TDestinoSalida destino;
        EXPECT_TRUE(destino.Interpretar(valor)) << valor.toStdString() << ": " << destino.MensajeError().toStdString();
        tipos.insert(destino.Tipo());
    }
    EXPECT_EQ(tipos, (QSet<int> {TDestinoSalida::tdParalelo, TDestinoSalida::tdSerie, TDestinoSalida::tdUdp}));
}

} // namespace

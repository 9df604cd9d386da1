#include "RegistroEventos.h"

#include "Colores.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// An empty document and a log holding one empty line look alike; the first
// line of a non-empty log carries this mark. Emptying the pane drops it.
constexpr int MarcaLinea = 1;

TColor ColorNivel(NivelRegistro nivel)
{
    switch (nivel) {
    case nrInformacion:
        return clBlue;
    case nrError:
        return clRed;
    case nrEstado:
    default:
        return clWindowText;
    }
}

// Every line break the caller may use becomes a line feed, which the pane
// turns into a new line.
QString NormalizarSaltos(const QString& texto)
{
    if (!texto.contains(QLatin1Char('\r')))
        return texto;
    QString normal = texto;
    normal.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normal.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return normal;
}

} // namespace

TRegistroEventos::TRegistroEventos(QPlainTextEdit* panel)
    : FPanel(panel)
{
    // A log only grows: an undo history would double its memory for nothing.
    FPanel->document()->setUndoRedoEnabled(false);
}

bool TRegistroEventos::Vacio() const
{
    const QTextDocument* documento = FPanel->document();
    return documento->isEmpty() && documento->firstBlock().userState() != MarcaLinea;
}

void TRegistroEventos::Anadir(NivelRegistro nivel, const QString& texto)
{
    QTextCharFormat formato;
    formato.setForeground(AColorQt(ColorNivel(nivel), FPanel->palette()));

    const bool vacio = Vacio();
    QTextCursor cursor(FPanel->document());
    cursor.movePosition(QTextCursor::End);
    if (vacio)
        cursor.setBlockCharFormat(formato);
    else
        cursor.insertBlock(cursor.blockFormat(), formato);
    const int inicio = cursor.position();
    cursor.insertText(NormalizarSaltos(texto), formato);
    if (vacio)
        FPanel->document()->firstBlock().setUserState(MarcaLinea);

    // Caret first (it may scroll to itself), then the last line into view.
    cursor.setPosition(inicio);
    FPanel->setTextCursor(cursor);
    QScrollBar* barra = FPanel->verticalScrollBar();
    barra->setValue(barra->maximum());
}

void TRegistroEventos::Limpiar()
{
    FPanel->clear();
}

int TRegistroEventos::NumLineas() const
{
    return Vacio() ? 0 : FPanel->document()->blockCount();
}

QString TRegistroEventos::Texto() const
{
    QString texto;
    if (Vacio())
        return texto;
    const QTextDocument* documento = FPanel->document();
    texto.reserve(documento->characterCount() + documento->blockCount());
    for (QTextBlock bloque = documento->firstBlock(); bloque.isValid(); bloque = bloque.next()) {
        texto += bloque.text();
        texto += QLatin1String("\r\n");
    }
    return texto;
}

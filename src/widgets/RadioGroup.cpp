#include "RadioGroup.h"

#include <QButtonGroup>
#include <QRadioButton>

TRadioGroup::TRadioGroup(QWidget* padre) : QGroupBox(padre), FGrupo(new QButtonGroup(this))
{
    connect(FGrupo, &QButtonGroup::idClicked, this, [this](int) { emit Click(); });
    connect(FGrupo, &QButtonGroup::idToggled, this, [this](int id, bool marcado) {
        if (marcado)
            FIndice = id;
    });
}

QStringList TRadioGroup::Elementos() const
{
    QStringList elementos;
    for (const QRadioButton* boton : FBotones)
        elementos << boton->text();
    return elementos;
}

void TRadioGroup::FijarElementos(const QStringList& elementos)
{
    for (QRadioButton* boton : FBotones)
        delete boton;
    FBotones.clear();
    for (int i = 0; i < elementos.size(); ++i) {
        auto* boton = new QRadioButton(elementos[i], this);
        boton->setObjectName(objectName() + QStringLiteral("_%1").arg(i));
        FGrupo->addButton(boton, i);
        FBotones.push_back(boton);
    }
    Colocar();
    FijarIndiceElemento(FIndice);
}

int TRadioGroup::IndiceElemento() const
{
    return FBotones.empty() ? FIndice : FGrupo->checkedId();
}

void TRadioGroup::FijarIndiceElemento(int indice)
{
    FIndice = indice;
    if (indice >= 0 && indice < int(FBotones.size())) {
        FBotones[size_t(indice)]->setChecked(true);
    } else if (QAbstractButton* marcado = FGrupo->checkedButton()) {
        FGrupo->setExclusive(false);
        marcado->setChecked(false);
        FGrupo->setExclusive(true);
    }
}

QRadioButton* TRadioGroup::Boton(int indice) const
{
    return indice >= 0 && indice < int(FBotones.size()) ? FBotones[size_t(indice)] : nullptr;
}

void TRadioGroup::resizeEvent(QResizeEvent* evento)
{
    QGroupBox::resizeEvent(evento);
    Colocar();
}

// The items share the inner height in equal rows, each button centred in its row.
void TRadioGroup::Colocar()
{
    if (FBotones.empty())
        return;
    const int margen = 8;
    const int alto = height() - 4;
    const int fila = alto / int(FBotones.size());
    for (size_t i = 0; i < FBotones.size(); ++i) {
        const int altoBoton = FBotones[i]->sizeHint().height();
        const int y = 2 + int(i) * fila + (fila - altoBoton) / 2;
        FBotones[i]->setGeometry(margen, y, width() - 2 * margen, altoBoton);
    }
}

// Radio group: a frame holding one radio button per item, stacked evenly,
// with the chosen item as an index (-1 for none).
#pragma once

#include <QGroupBox>
#include <QStringList>
#include <vector>

class QButtonGroup;
class QRadioButton;

class TRadioGroup : public QGroupBox {
    Q_OBJECT
    Q_PROPERTY(QStringList Elementos READ Elementos WRITE FijarElementos)
    Q_PROPERTY(int IndiceElemento READ IndiceElemento WRITE FijarIndiceElemento)

public:
    explicit TRadioGroup(QWidget* padre = nullptr);

    QStringList Elementos() const;
    void FijarElementos(const QStringList& elementos);
    int IndiceElemento() const;
    void FijarIndiceElemento(int indice);
    QRadioButton* Boton(int indice) const;

signals:
    // The operator chose an item (not emitted for FijarIndiceElemento).
    void Click();

protected:
    void resizeEvent(QResizeEvent* evento) override;

private:
    void Colocar();

    QButtonGroup* FGrupo;
    std::vector<QRadioButton*> FBotones;
    // The chosen item, kept while the items are (re)built.
    int FIndice = -1;
};

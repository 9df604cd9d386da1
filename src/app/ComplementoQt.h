// The few toolkit texts that Qt's Spanish catalogue leaves in English, such as
// the "Folder" type in the file dialogs' list.
#pragma once

#include <QTranslator>

class TComplementoQt : public QTranslator {
public:
    using QTranslator::QTranslator;

    QString translate(const char* contexto, const char* texto, const char* desambiguacion = nullptr,
                      int numero = -1) const override;
    bool isEmpty() const override { return false; }
};

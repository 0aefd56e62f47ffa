#pragma once

#include "avisos.hpp"

class QWidget;

namespace trovanel {

// Message boxes with the program's title and an OK button (Yes/No for questions).
class AvisosQt : public Avisos {
public:
    explicit AvisosQt(QWidget* padre = nullptr) : padre_(padre) {}
    void setPadre(QWidget* padre) { padre_ = padre; }

    void informacion(const std::string& texto) override;
    void critico(const std::string& texto) override;
    void simple(const std::string& texto) override;
    bool pregunta(const std::string& texto) override;

private:
    QWidget* padre_;
};

} // namespace trovanel

#pragma once

#include <string>

namespace trovanel {

// The four kinds of message box the program shows. Windows implement it with message boxes, batch
// mode with standard error, tests with a scripted fake.
class Avisos {
public:
    virtual ~Avisos() = default;
    virtual void informacion(const std::string& texto) = 0;
    // Files that cannot be opened or created, database errors.
    virtual void critico(const std::string& texto) = 0;
    // OK button, no icon.
    virtual void simple(const std::string& texto) = 0;
    // Yes/No; true for Yes.
    virtual bool pregunta(const std::string& texto) = 0;
};

// Batch mode: every message goes to standard error (converted to UTF-8 for the terminal); no question
// can be answered, so each one counts as No.
class AvisosConsola : public Avisos {
public:
    void informacion(const std::string& texto) override;
    void critico(const std::string& texto) override;
    void simple(const std::string& texto) override;
    bool pregunta(const std::string& texto) override;
};

} // namespace trovanel

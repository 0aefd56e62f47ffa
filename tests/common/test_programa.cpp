#include "programa.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace trovanel {
namespace {

// Sets an environment variable (or unsets it) for the life of the object.
class Variable {
public:
    Variable(const char* nombre, const char* valor) : nombre_(nombre) {
        if (const char* antes = std::getenv(nombre); antes != nullptr) {
            anterior_ = antes;
        }
        if (valor == nullptr) {
            ::unsetenv(nombre);
        } else {
            ::setenv(nombre, valor, 1);
        }
    }
    ~Variable() {
        if (anterior_) {
            ::setenv(nombre_, anterior_->c_str(), 1);
        } else {
            ::unsetenv(nombre_);
        }
    }
    Variable(const Variable&) = delete;
    Variable& operator=(const Variable&) = delete;

private:
    const char* nombre_;
    std::optional<std::string> anterior_;
};

TEST(Programa, elIdiomaSaleDeLaPrimeraVariableConValor) {
    struct Caso {
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        const char* idioma;
    };
    for (const Caso& caso : {
             Caso{nullptr, nullptr, "es_ES.UTF-8", "0a"},
             Caso{nullptr, nullptr, "en_GB.UTF-8", "09"},
             Caso{nullptr, nullptr, nullptr, "09"},
             Caso{"es_AR", nullptr, "en_US", "0a"},
             Caso{"", "es_ES", "en_US", "0a"},
             Caso{"C", "es_ES", "es_ES", "09"},
             Caso{nullptr, "", "es", "0a"},
         }) {
        const Variable a("LC_ALL", caso.lcAll);
        const Variable b("LC_MESSAGES", caso.lcMessages);
        const Variable c("LANG", caso.lang);
        EXPECT_EQ(idiomaUsuario(), caso.idioma)
            << (caso.lcAll ? caso.lcAll : "-") << " " << (caso.lcMessages ? caso.lcMessages : "-") << " "
            << (caso.lang ? caso.lang : "-");
    }
}

// Where Linux keeps a user's data, never beside the executable; always an absolute path.
TEST(Programa, laCarpetaDelProgramaEsTrovanelHomeOLaDeDatosDelUsuario) {
    struct Caso {
        const char* trovanelHome;
        const char* xdgDataHome;
        const char* home;
        std::filesystem::path carpeta;
    };
    const std::filesystem::path actual = std::filesystem::current_path();
    // The usual three start the program itself in the executable's tests.
    for (const Caso& caso : {
             Caso{"/srv/trovanel/", nullptr, "/casa", "/srv/trovanel/"},
             Caso{"datos/trovanel", nullptr, "/casa", actual / "datos/trovanel"},
             Caso{nullptr, "/xdg/", "/casa", "/xdg/trovanel"},
             // XDG base directory rules: a relative XDG_DATA_HOME is ignored.
             Caso{nullptr, "relativa", "/casa", "/casa/.local/share/trovanel"},
         }) {
        const Variable a("TROVANEL_HOME", caso.trovanelHome);
        const Variable b("XDG_DATA_HOME", caso.xdgDataHome);
        const Variable c("HOME", caso.home);
        EXPECT_EQ(carpetaPrograma(), caso.carpeta) << (caso.trovanelHome ? caso.trovanelHome : "-") << " "
                                                   << (caso.xdgDataHome ? caso.xdgDataHome : "-");
    }
    const Variable sinCasa("HOME", nullptr);
    EXPECT_TRUE(carpetaPersonal().is_absolute());
}

} // namespace
} // namespace trovanel

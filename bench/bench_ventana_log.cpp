// "Fin Proceso Trovanel" over a large error log: the seconds to the first painted window, to the painted
// list after "Detalles" and until every earlier run is in, and the process's peak resident memory.
//   bench_ventana_log [MiB]   (size of the log; 350 by default, a third of it this run's blocks)
// Run under QT_QPA_PLATFORM=offscreen (the default here) or a virtual display.
#include "conversores.hpp"
#include "frmMsg.hpp"
#include "medida.hpp"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QScrollBar>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

using namespace trovanel;
namespace fs = std::filesystem;

namespace {

long memoriaActualKiB() {
    long paginas = 0;
    long residentes = 0;
    std::ifstream("/proc/self/statm") >> paginas >> residentes;
    return residentes * (::sysconf(_SC_PAGESIZE) / 1024);
}

// Rejected orders of a norm 19 run as the log writer leaves them, one run header per 100,000 orders,
// until the log reaches bytes; the offset where the last run begins.
std::uintmax_t escribirLog(const fs::path& ruta, std::uintmax_t bytes) {
    std::FILE* f = std::fopen(ruta.c_str(), "wb");
    const std::string asteriscos(37, '*');
    const std::uintmax_t anteriores = bytes - bytes / 3;
    std::uintmax_t escritos = 0;
    std::uintmax_t inicioEjecucion = 0;
    bool cabeceraEjecucion = false;
    for (long orden = 0; escritos < bytes; ++orden) {
        std::string bloque;
        if (orden % 100000 == 0 || (!cabeceraEjecucion && escritos >= anteriores)) {
            if (escritos >= anteriores && !cabeceraEjecucion) {
                cabeceraEjecucion = true;
                inicioEjecucion = escritos;
            }
            bloque += asteriscos + "\r\n07/12/2026 - 10:45:33\r\n";
        }
        bloque +=
            asteriscos + "\r\nNumero Linea: " + std::to_string(orden % 1000000 + 1) +
            "\r\nNif Ordenante: B12345678000\r\nNombre Titular: LOPEZ SANCHEZ MARTA                     "
            "\r\n \r\nError : Caracter no valido en Cuenta\r\nError : Cuenta incorrecta\r\n";
        std::fwrite(bloque.data(), 1, bloque.size(), f);
        escritos += bloque.size();
    }
    std::fclose(f);
    return inicioEjecucion;
}

// Notes the first paint of a widget.
class Pintado : public QObject {
public:
    bool pintado = false;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        pintado = pintado || evento->type() == QEvent::Paint;
        return QObject::eventFilter(objeto, evento);
    }
};

double esperarPintado(QWidget* widget, const QElapsedTimer& reloj) {
    Pintado pintado;
    widget->installEventFilter(&pintado);
    widget->update();
    while (!pintado.pintado) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    widget->removeEventFilter(&pintado);
    return static_cast<double>(reloj.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const std::uintmax_t mib = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 350;
    const fs::path carpeta = fs::temp_directory_path() / ("trovanel-bench-log-" + std::to_string(::getpid()));
    fs::create_directories(carpeta);
    ResultadoConversion resultado;
    resultado.log = carpeta / "remesa.log";
    resultado.clase = ResultadoConversion::Clase::EscritoConRechazos;
    const std::uintmax_t inicio = escribirLog(resultado.log, mib << 20);

    QApplication aplicacion(argc, argv);
    const long antes = bench::memoriaMaximaKiB();
    double primeraPintura = 0;
    double listaPintada = 0;
    double todoCargado = 0;
    long filas = 0;
    {
        QElapsedTimer reloj;
        reloj.start();
        frmMsg ventana(true, resultado, nullptr, inicio);
        ventana.show();
        primeraPintura = esperarPintado(&ventana, reloj);

        auto* lista = ventana.findChild<QAbstractItemView*>(QStringLiteral("rtbFicheroLog"));
        reloj.restart();
        ventana.cmdDetalles_Click();
        listaPintada = esperarPintado(lista->viewport(), reloj);
        while (ventana.cargando()) {
            QApplication::processEvents();
        }
        todoCargado = static_cast<double>(reloj.nsecsElapsed()) / 1e9;
        filas = lista->model()->rowCount();
        // The user reads the top, the middle and the end.
        for (const int valor :
             {0, lista->verticalScrollBar()->maximum() / 2, lista->verticalScrollBar()->maximum()}) {
            lista->verticalScrollBar()->setValue(valor);
            esperarPintado(lista->viewport(), reloj);
        }
        ventana.accept();
    }
    const long maxima = bench::memoriaMaximaKiB();
    const long despues = memoriaActualKiB();
    std::error_code ignorado;
    const std::uintmax_t tamano = fs::file_size(resultado.log, ignorado);
    fs::remove_all(carpeta, ignorado);

    std::printf("log: %ju bytes, %ld lineas (esta ejecucion desde el byte %ju)\n", tamano, filas, inicio);
    std::printf("ventana pintada: %.3f s\n", primeraPintura);
    std::printf("lista pintada tras Detalles: %.3f s; ejecuciones anteriores cargadas: %.3f s\n",
                listaPintada, todoCargado);
    std::printf("memoria maxima: %ld KiB (antes de la ventana: %ld KiB; tras cerrarla: %ld KiB)\n", maxima,
                antes, despues);
    const bool objetivo = maxima < 100 * 1024 && primeraPintura < 1.0 && listaPintada < 1.0;
    std::printf("objetivo (menos de 100 MB y de 1 s): %s\n", objetivo ? "cumplido" : "no cumplido");
    return objetivo ? 0 : 1;
}

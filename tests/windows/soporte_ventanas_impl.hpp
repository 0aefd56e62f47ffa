#pragma once

#include <QWidget>

#include <gtest/gtest.h>

namespace trovanel::pruebas {

template <typename T> T* hijo(QWidget* padre, const char* nombre) {
    T* encontrado = padre->findChild<T*>(QString::fromLatin1(nombre));
    EXPECT_NE(encontrado, nullptr) << "no existe el control " << nombre;
    return encontrado;
}

} // namespace trovanel::pruebas

#include "test_dir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TestDir::TestDir() : m_previous(QDir::currentPath()) {
    QDir::setCurrent(m_dir.path());
}

TestDir::~TestDir() {
    QDir::setCurrent(m_previous);
}

void TestDir::writeFile(const QString& name, const QByteArray& bytes) const {
    const QString full = file(name);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile f(full);
    if (f.open(QIODevice::WriteOnly)) {
        f.write(bytes);
    }
}

QByteArray TestDir::readFile(const QString& name) const {
    QFile f(file(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

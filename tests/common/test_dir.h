#pragma once

#include <QString>
#include <QTemporaryDir>

// A temporary folder made the current directory for the life of the object, so code that
// works in the current directory ("log.txt", "last.set", "Interface/") runs in isolation.
class TestDir {
public:
    TestDir();
    ~TestDir();
    TestDir(const TestDir&) = delete;
    TestDir& operator=(const TestDir&) = delete;

    [[nodiscard]] QString path() const { return m_dir.path(); }
    [[nodiscard]] QString file(const QString& name) const { return m_dir.filePath(name); }
    void writeFile(const QString& name, const QByteArray& bytes) const;
    [[nodiscard]] QByteArray readFile(const QString& name) const;

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

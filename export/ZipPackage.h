#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <list>
#include <optional>
#include <memory>

struct zip;
struct zip_source;

namespace listexport {

// An Office package (a zip archive of XML parts), read and changed in place or
// written anew. Changes reach the disk at commit(); a package dropped without a
// commit leaves the file as it was.
class ZipPackage {
public:
    enum class Mode { Change, Create };
    ZipPackage(const QString &path, Mode mode);
    ~ZipPackage();
    ZipPackage(const ZipPackage &) = delete;
    ZipPackage &operator=(const ZipPackage &) = delete;

    bool isOpen() const { return archive_ != nullptr; }
    QString errorString() const { return error_; }
    // The part's bytes; empty when there is no such part.
    QByteArray read(const QString &name) const;
    // Adds the part, or replaces it.
    bool write(const QString &name, const QByteArray &data);
    // The next piece of a part too long to hold in memory whole; an empty piece
    // ends it, nothing stops the commit (which then fails and writes nothing).
    using Pieces = std::function<std::optional<QByteArray>()>;
    // Adds a part whose pieces are made while the package is written, at commit.
    bool write(const QString &name, Pieces pieces);
    // The part read a piece at a time, for as long as the package is open;
    // nothing once reading fails (no such part, a damaged package).
    Pieces pieces(const QString &name) const;
    // Adds the part, or replaces it, with the file at `path` stored as it is (a
    // picture gains nothing from compressing); the file is read at commit.
    bool writeStoredFile(const QString &name, const QString &path);
    // Takes the part out; true when there is no such part either.
    bool remove(const QString &name);
    bool commit();

private:
    // The new entry's index, -1 when it could not be added.
    long long add(const QString &name, zip_source *source);

    zip *archive_ = nullptr;
    std::list<QByteArray> pending_;  // the archive reads these only at commit
    QString error_;
};

}  // namespace listexport

#include "export/ZipPackage.h"

#include <QFile>

#include <zip.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace listexport {
namespace {

// The system's reason when the archive met one (a full disk reads "No space left
// on device", not the archive's wording around it), the archive's own otherwise.
QString reasonOf(zip_error_t *error)
{
    if (zip_error_system_type(error) == ZIP_ET_SYS && zip_error_code_system(error) != 0)
        return QString::fromLocal8Bit(std::strerror(zip_error_code_system(error)));
    return QString::fromUtf8(zip_error_strerror(error));
}

}  // namespace

ZipPackage::ZipPackage(const QString &path, Mode mode)
{
    int error = 0;
    const int flags = mode == Mode::Create ? (ZIP_CREATE | ZIP_TRUNCATE) : 0;
    archive_ = zip_open(QFile::encodeName(path).constData(), flags, &error);
    if (!archive_) {
        zip_error_t e;
        zip_error_init_with_code(&e, error);
        error_ = reasonOf(&e);
        zip_error_fini(&e);
    }
}

ZipPackage::~ZipPackage()
{
    if (archive_)
        zip_discard(archive_);
}

QByteArray ZipPackage::read(const QString &name) const
{
    if (!archive_)
        return {};
    const QByteArray entry = name.toUtf8();
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat(archive_, entry.constData(), 0, &st) != 0)
        return {};
    zip_file_t *file = zip_fopen(archive_, entry.constData(), 0);
    if (!file)
        return {};
    QByteArray data(qsizetype(st.size), Qt::Uninitialized);
    const zip_int64_t got = zip_fread(file, data.data(), st.size);
    zip_fclose(file);
    return got == zip_int64_t(st.size) ? data : QByteArray();
}

namespace {

// A part read by the archive piece by piece as it is written.
struct StreamedPart {
    ZipPackage::Pieces next;
    QByteArray piece;
    qsizetype offset = 0;
    bool opened = false;
    zip_error_t error;
};

zip_int64_t streamPart(void *state, void *data, zip_uint64_t length, zip_source_cmd_t command)
{
    auto *part = static_cast<StreamedPart *>(state);
    switch (command) {
    case ZIP_SOURCE_OPEN:
        // Made once: a second reading could not be made again.
        if (part->opened) {
            zip_error_set(&part->error, ZIP_ER_OPNOTSUPP, 0);
            return -1;
        }
        part->opened = true;
        return 0;
    case ZIP_SOURCE_READ: {
        zip_uint64_t given = 0;
        auto *out = static_cast<char *>(data);
        while (given < length) {
            if (part->offset == part->piece.size()) {
                std::optional<QByteArray> next = part->next();
                if (!next) {
                    zip_error_set(&part->error, ZIP_ER_CANCELLED, 0);
                    return -1;
                }
                if (next->isEmpty())
                    break;
                part->piece = std::move(*next);
                part->offset = 0;
            }
            const auto n = std::min<zip_uint64_t>(length - given, zip_uint64_t(part->piece.size() - part->offset));
            std::memcpy(out + given, part->piece.constData() + part->offset, n);
            part->offset += qsizetype(n);
            given += n;
        }
        return zip_int64_t(given);
    }
    case ZIP_SOURCE_CLOSE:
        return 0;
    case ZIP_SOURCE_STAT: {
        auto *st = static_cast<zip_stat_t *>(data);
        zip_stat_init(st);  // nothing known before it is made
        return sizeof(*st);
    }
    case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&part->error, data, length);
    case ZIP_SOURCE_FREE:
        zip_error_fini(&part->error);
        delete part;
        return 0;
    case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                              ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, -1);
    default:
        zip_error_set(&part->error, ZIP_ER_OPNOTSUPP, 0);
        return -1;
    }
}

}  // namespace

bool ZipPackage::write(const QString &name, Pieces pieces)
{
    if (!archive_)
        return false;
    auto part = std::make_unique<StreamedPart>();
    part->next = std::move(pieces);
    zip_error_init(&part->error);
    zip_source_t *source = zip_source_function(archive_, &streamPart, part.get());
    if (!source) {
        zip_error_fini(&part->error);
        return false;
    }
    (void)part.release();  // the source owns it now, and frees it
    return add(name, source) >= 0;
}

ZipPackage::Pieces ZipPackage::pieces(const QString &name) const
{
    zip_file_t *opened = archive_ ? zip_fopen(archive_, name.toUtf8().constData(), 0) : nullptr;
    if (!opened)
        return [] { return std::optional<QByteArray>(); };
    const std::shared_ptr<zip_file_t> file(opened, &zip_fclose);
    return [file]() -> std::optional<QByteArray> {
        QByteArray piece(qsizetype(64) * 1024, Qt::Uninitialized);
        const zip_int64_t got = zip_fread(file.get(), piece.data(), zip_uint64_t(piece.size()));
        if (got < 0)
            return std::nullopt;
        piece.truncate(qsizetype(got));
        return piece;
    };
}

bool ZipPackage::write(const QString &name, const QByteArray &data)
{
    if (!archive_)
        return false;
    const QByteArray &kept = pending_.emplace_back(data);
    zip_source_t *source = zip_source_buffer(archive_, kept.constData(), zip_uint64_t(kept.size()), 0);
    if (!source)
        return false;
    return add(name, source) >= 0;
}

long long ZipPackage::add(const QString &name, zip_source *source)
{
    const zip_int64_t index = zip_file_add(archive_, name.toUtf8().constData(), source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8);
    if (index < 0) {
        zip_source_free(source);
        error_ = reasonOf(zip_get_error(archive_));
        return -1;
    }
    // A part unpacked by hand is the user's to change, nobody else's: rw-r--r--.
    constexpr zip_uint32_t kRegularFile0644 = 0100644;
    if (zip_file_set_external_attributes(archive_, zip_uint64_t(index), 0, ZIP_OPSYS_UNIX, kRegularFile0644 << 16) < 0) {
        error_ = reasonOf(zip_get_error(archive_));
        return -1;
    }
    return index;
}

bool ZipPackage::writeStoredFile(const QString &name, const QString &path)
{
    if (!archive_)
        return false;
    zip_source_t *source = zip_source_file(archive_, QFile::encodeName(path).constData(), 0, -1);
    if (!source) {
        error_ = reasonOf(zip_get_error(archive_));
        return false;
    }
    const long long index = add(name, source);
    if (index < 0)
        return false;
    if (zip_set_file_compression(archive_, zip_uint64_t(index), ZIP_CM_STORE, 0) < 0) {
        error_ = reasonOf(zip_get_error(archive_));
        return false;
    }
    return true;
}

bool ZipPackage::remove(const QString &name)
{
    if (!archive_)
        return false;
    const zip_int64_t index = zip_name_locate(archive_, name.toUtf8().constData(), 0);
    return index < 0 || zip_delete(archive_, zip_uint64_t(index)) == 0;
}

bool ZipPackage::commit()
{
    if (!archive_)
        return false;
    if (zip_close(archive_) != 0) {
        error_ = reasonOf(zip_get_error(archive_));
        return false;
    }
    archive_ = nullptr;
    pending_.clear();
    return true;
}

}  // namespace listexport

#include "export/ZipPackage.h"

#include <QFile>

#include <zip.h>

namespace listexport {

ZipPackage::ZipPackage(const QString &path, Mode mode)
{
    int error = 0;
    const int flags = mode == Mode::Create ? (ZIP_CREATE | ZIP_TRUNCATE) : 0;
    archive_ = zip_open(QFile::encodeName(path).constData(), flags, &error);
    if (!archive_) {
        zip_error_t e;
        zip_error_init_with_code(&e, error);
        error_ = QString::fromUtf8(zip_error_strerror(&e));
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

bool ZipPackage::write(const QString &name, const QByteArray &data)
{
    if (!archive_)
        return false;
    const QByteArray &kept = pending_.emplace_back(data);
    zip_source_t *source = zip_source_buffer(archive_, kept.constData(), zip_uint64_t(kept.size()), 0);
    if (!source)
        return false;
    if (zip_file_add(archive_, name.toUtf8().constData(), source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8) < 0) {
        zip_source_free(source);
        error_ = QString::fromUtf8(zip_strerror(archive_));
        return false;
    }
    return true;
}

bool ZipPackage::commit()
{
    if (!archive_)
        return false;
    if (zip_close(archive_) != 0) {
        error_ = QString::fromUtf8(zip_strerror(archive_));
        return false;
    }
    archive_ = nullptr;
    pending_.clear();
    return true;
}

}  // namespace listexport

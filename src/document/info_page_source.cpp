// SPDX-License-Identifier: GPL-3.0-or-later
#include "info_page_source.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLibrary>
#include <QStringDecoder>

#include <elf.h>

#include <bit>
#include <type_traits>

namespace vorlo {

namespace {

// The ELF class of this program: a module must be of the same.
constexpr bool kWide = sizeof(void*) == 8;
using ElfHeader = std::conditional_t<kWide, Elf64_Ehdr, Elf32_Ehdr>;
using ProgramHeader = std::conditional_t<kWide, Elf64_Phdr, Elf32_Phdr>;
using SectionHeader = std::conditional_t<kWide, Elf64_Shdr, Elf32_Shdr>;

constexpr int kMachine =
#if defined(__x86_64__)
    EM_X86_64;
#elif defined(__aarch64__)
    EM_AARCH64;
#elif defined(__i386__)
    EM_386;
#elif defined(__arm__)
    EM_ARM;
#elif defined(__riscv)
    EM_RISCV;
#elif defined(__powerpc64__)
    EM_PPC64;
#elif defined(__s390x__)
    EM_S390;
#else
    EM_NONE;  // unknown here: the machine is left to the loader
#endif

// Whether `count` entries of `size` bytes from `offset` lie inside a file of
// `fileSize` bytes, without overflowing on hostile values.
bool Inside(quint64 offset, quint64 count, quint64 size, quint64 fileSize) {
    if (offset > fileSize) {
        return false;
    }
    return size == 0 || count <= (fileSize - offset) / size;
}

}  // namespace

QString ModuleFileProblem(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return QStringLiteral("%1: %2").arg(path, file.errorString());
    }
    const auto fileSize = static_cast<quint64>(file.size());
    const auto problem = [&path](const char* what) {
        return QStringLiteral("%1: %2").arg(path, QLatin1String(what));
    };
    ElfHeader header{};
    if (file.read(reinterpret_cast<char*>(&header), sizeof header) != sizeof header ||
        header.e_ident[EI_MAG0] != ELFMAG0 || header.e_ident[EI_MAG1] != ELFMAG1 ||
        header.e_ident[EI_MAG2] != ELFMAG2 || header.e_ident[EI_MAG3] != ELFMAG3) {
        return problem("not an ELF file");
    }
    const int data = std::endian::native == std::endian::little ? ELFDATA2LSB : ELFDATA2MSB;
    if (header.e_ident[EI_CLASS] != (kWide ? ELFCLASS64 : ELFCLASS32) ||
        header.e_ident[EI_DATA] != data || header.e_ident[EI_VERSION] != EV_CURRENT ||
        header.e_version != EV_CURRENT || header.e_type != ET_DYN ||
        (kMachine != EM_NONE && header.e_machine != kMachine)) {
        return problem("not a shared object for this machine");
    }
    if (header.e_phnum == 0 || header.e_phentsize != sizeof(ProgramHeader) ||
        !Inside(header.e_phoff, header.e_phnum, sizeof(ProgramHeader), fileSize)) {
        return problem("cut short (its program headers are missing)");
    }
    // Extended numbering keeps the real count in the first section header,
    // so at least that one must be there.
    if (header.e_shoff != 0 && (header.e_shentsize != sizeof(SectionHeader) ||
                                !Inside(header.e_shoff, header.e_shnum == 0 ? 1 : header.e_shnum,
                                        sizeof(SectionHeader), fileSize))) {
        return problem("cut short (its section headers are missing)");
    }
    if (!file.seek(static_cast<qint64>(header.e_phoff))) {
        return problem("cut short (its program headers are missing)");
    }
    QList<ProgramHeader> segments(header.e_phnum);
    const auto segmentBytes = static_cast<qint64>(segments.size() * sizeof(ProgramHeader));
    if (file.read(reinterpret_cast<char*>(segments.data()), segmentBytes) != segmentBytes) {
        return problem("cut short (its program headers are missing)");
    }
    for (const ProgramHeader& segment : segments) {
        if (!Inside(segment.p_offset, 1, segment.p_filesz, fileSize)) {
            return problem("cut short (a segment reaches past its end)");
        }
    }
    return {};
}

QStringList InfoPageModuleFolders() {
    QStringList folders;
    if (QCoreApplication::instance() == nullptr) {
        return folders;
    }
    const QString program = QCoreApplication::applicationDirPath();
    folders << program;
#ifdef VORLO_MODULE_FROM_PROGRAM
    folders << QDir::cleanPath(program + u'/' + QStringLiteral(VORLO_MODULE_FROM_PROGRAM));
#endif
    return folders;
}

std::unique_ptr<InfoPageSource> LoadOnlineInfoPageSource(InfoPageReady ready, QString* why) {
    return LoadOnlineInfoPageSourceFrom(InfoPageModuleFolders(), std::move(ready), why);
}

std::unique_ptr<InfoPageSource> LoadOnlineInfoPageSourceFrom(const QStringList& folders,
                                                             InfoPageReady ready, QString* why) {
    QStringList failures;
    for (const QString& folder : folders) {
        const QString path =
            folder + u'/' + QLatin1String(kInfoPageModuleName) + QStringLiteral(".so");
        if (!QFile::exists(path)) {
            continue;
        }
        if (const QString problem = ModuleFileProblem(path); !problem.isEmpty()) {
            failures << problem;
            continue;
        }
        // Never unloaded: the source's code must outlive every source made.
        QLibrary module(path);
        auto factory = reinterpret_cast<InfoPageFactory>(module.resolve(kInfoPageFactoryName));
        if (factory == nullptr) {
            failures << module.errorString();
            continue;
        }
        if (InfoPageSource* source = factory(std::move(ready))) {
            return std::unique_ptr<InfoPageSource>(source);
        }
        failures << path;
    }
    if (why != nullptr) {
        *why = failures.isEmpty() ? QStringLiteral("%1.so is in none of %2")
                                        .arg(QLatin1String(kInfoPageModuleName),
                                             folders.join(QStringLiteral(", ")))
                                  : failures.join(QStringLiteral("; "));
    }
    return nullptr;
}

InfoPage ReadInstalledInfoPage(const QString& folder, qint64 maxBytes, const QString& name) {
    // No folder known: nothing, rather than a page name with no folder.
    if (folder.isEmpty()) {
        return {};
    }
    QString path = folder;
    if (!path.endsWith(u'/')) {
        path += u'/';
    }
    path += name.isEmpty() ? QString::fromLatin1(kInfoPageName) : name;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray page = file.read(maxBytes + 1);
    if (page.size() > maxBytes) {
        return {};
    }
    return {DecodeHtml(page), QUrl::fromLocalFile(path)};
}

QString DecodeHtml(const QByteArray& data, const QByteArray& contentType) {
    for (const QByteArray& parameter : contentType.split(';')) {
        const QByteArray trimmed = parameter.trimmed();
        if (trimmed.toLower().startsWith("charset=")) {
            QByteArray name = trimmed.mid(8).trimmed();
            if (name.size() >= 2 && name.startsWith('"') && name.endsWith('"')) {
                name = name.mid(1, name.size() - 2);
            }
            QStringDecoder decoder(name.constData());
            if (decoder.isValid()) {
                return decoder.decode(data);
            }
        }
    }
    QStringDecoder decoder = QStringDecoder::decoderForHtml(data);
    if (!decoder.isValid()) {
        decoder = QStringDecoder(QStringDecoder::Utf8);
    }
    return decoder.decode(data);
}

}  // namespace vorlo

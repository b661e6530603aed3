#include "DesktopRegistration.h"

#include "FileSaving.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>

namespace {

constexpr int IconSizes[] = {16, 24, 32, 48, 64, 128, 256, 512};
// An update tool that hangs must not hold up the start of the program for long.
constexpr int ToolTimeoutMs = 5000;

QString IconFile(const QString& iconDir, int size) {
    return QDir(iconDir).filePath(QString("tessaron-%1.png").arg(size));
}

QByteArray MimePackage() {
    return QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                      "  <mime-type type=\"") +
           GameMimeType +
           "\">\n"
           "    <comment>TESSARON game</comment>\n"
           "    <comment xml:lang=\"de\">TESSARON-Partie</comment>\n"
           "    <icon name=\"tessaron\"/>\n"
           "    <glob pattern=\"*.tn2\"/>\n"
           "  </mime-type>\n"
           "</mime-info>\n";
}

// The rules for a string value of a desktop entry: a backslash and the control characters escaped.
QString EscapedString(const QString& text) {
    QString escaped;
    for (const QChar c : text) {
        if (c == '\\')
            escaped += "\\\\";
        else if (c == '\n')
            escaped += "\\n";
        else if (c == '\t')
            escaped += "\\t";
        else if (c == '\r')
            escaped += "\\r";
        else
            escaped += c;
    }
    return escaped;
}

QByteArray DesktopEntry(const QString& programPath) {
    return QString("[Desktop Entry]\n"
                   "Type=Application\n"
                   "Name=TESSARON\n"
                   "GenericName=Chess\n"
                   "GenericName[de]=Schach\n"
                   "Comment=Play chess against the computer and learn the game\n"
                   "Comment[de]=Schach gegen den Computer spielen und lernen\n"
                   "Exec=%1\n"
                   "Icon=tessaron\n"
                   "Terminal=false\n"
                   "Categories=Game;BoardGame;\n"
                   "MimeType=%2;\n")
        .arg(DesktopExec(programPath), GameMimeType)
        .toUtf8();
}

// Writes the file unless it already holds exactly these bytes.
void Provide(const QString& fileName, const QByteArray& bytes, TRegistration& registration) {
    QFile current(fileName);
    if (current.open(QIODevice::ReadOnly) && current.readAll() == bytes) return;
    current.close();
    if (QDir().mkpath(QFileInfo(fileName).path()) && SaveFileWhole(fileName, bytes))
        registration.Written << fileName;
    else
        registration.Failed << fileName;
}

void RunIfInstalled(const QString& tool, const QStringList& arguments) {
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty()) return;
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (process.waitForStarted(ToolTimeoutMs) && !process.waitForFinished(ToolTimeoutMs)) process.kill();
}

} // namespace

QString DesktopExec(const QString& programPath) {
    QString quoted;
    for (const QChar c : programPath) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        quoted += c;
    }
    // A literal percent sign would be read as a field code.
    quoted.replace('%', "%%");
    return EscapedString('"' + quoted + '"') + " %f";
}

TRegistration RegisterFileType(const QString& programPath, const QString& iconDir) {
    TRegistration registration;
    const QDir data(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    Provide(data.filePath("mime/packages/tessaron.xml"), MimePackage(), registration);
    Provide(data.filePath("applications/tessaron.desktop"), DesktopEntry(programPath), registration);
    for (const int size : IconSizes) {
        QFile icon(IconFile(iconDir, size));
        if (!icon.open(QIODevice::ReadOnly)) continue;
        Provide(data.filePath(QString("icons/hicolor/%1x%1/apps/tessaron.png").arg(size)), icon.readAll(),
                registration);
    }
    // Each tool refreshes its own part, and only when a file of that part changed.
    auto changed = [&](const QString& part) {
        return std::any_of(registration.Written.begin(), registration.Written.end(),
                           [&](const QString& file) { return file.startsWith(data.filePath(part)); });
    };
    if (changed("mime/")) RunIfInstalled("update-mime-database", {data.filePath("mime")});
    if (changed("applications/")) RunIfInstalled("update-desktop-database", {data.filePath("applications")});
    if (changed("icons/"))
        RunIfInstalled("gtk-update-icon-cache",
                       {"--quiet", "--force", "--ignore-theme-index", data.filePath("icons/hicolor")});
    return registration;
}

QIcon ProgramIcon(const QString& iconDir) {
    QIcon icon;
    for (const int size : IconSizes)
        if (QFile::exists(IconFile(iconDir, size))) icon.addFile(IconFile(iconDir, size), QSize(size, size));
    return icon;
}

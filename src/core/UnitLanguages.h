#pragma once
// The user-interface languages: numbered texts from the active language file, with the German
// text as every caller's default, and the translation of every window by the controls' Tags.

#include <QHash>
#include <QString>
#include <QStringList>

class QLocale;
class QObject;
class QWidget;

inline constexpr int MaxLangStringLength = 654;

// The text with that number in the active language file, or `defaultText` when no file is open or
// the file has no (or an empty) text under the number.
QString LoadLangString(int number, const QString& defaultText);

// Makes ProgramDir + "Lang/<name>.lng" the active language file; the previous one is closed first,
// so after a failure no file is active and the German defaults apply.
bool LoadLanguageFile(const QString& name);
void CloseLanguageFile();
// The name of the active language file, empty when none is open.
QString ActiveLanguageFile();

// The language whose line in the language list names the user's system language code; "English"
// when none does.
QString DetectLanguage();
// Appends "Automatic", "English" and the names of the language list, in file order.
void ListLanguages(QStringList& list);
// Resolves "Automatic" (or an empty name), loads the language and translates every window. On
// failure it says so, goes on with the built-in German texts and returns the empty text.
QString SetLanguage(const QString& name);

// Applies the active language to every component of every window the application owns.
void TranslateForms();
// The same for one window and everything it owns.
void TranslateWindow(QWidget* window);

// The user's language as a Windows language identifier (0x0407 for German in Germany), derived from
// the system locale; tests set it with SetSystemLanguageId (0 returns to the system's).
int SystemLanguageId();
void SetSystemLanguageId(int id);
int LanguageIdForLocale(const QLocale& locale);

// Reads the texts of a language file: "number=text" lines, ";" comments, escapes \r \n \\.
QHash<int, QString> ParseLanguageFile(const QByteArray& bytes);

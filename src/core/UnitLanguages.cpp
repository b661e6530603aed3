#include "UnitLanguages.h"

#include "IniFile.h"
#include "RadioGroup.h"
#include "UnitDialogFunctions.h"
#include "UnitFunctions.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPointer>
#include <QStackedWidget>
#include <QTabWidget>

namespace {

constexpr int MaxStringNumber = 0xFFFF;
constexpr QChar FieldDelimiter = '|';

struct TActiveLanguage {
    QString Name;
    QHash<int, QString> Texts;
    bool Open = false;
};

TActiveLanguage& Active() {
    static TActiveLanguage language;
    return language;
}

int& SystemLanguageOverride() {
    static int id = 0;
    return id;
}

QString LanguageListFile() { return ResolvePath(ProgramDir() + "Lang\\Languages.cfg"); }

void ReportMissingLanguageList() {
    ShowCenteredMessage("Couldn't open the language setting file --> Language: English", TMsgDlgType::mtCustom, mbOK,
                        nullptr, "File missing?");
}

// The lines of the language list that are neither empty nor comments; nothing when it cannot be read.
std::optional<QStringList> LanguageListLines() {
    QFile file(LanguageListFile());
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    QStringList lines;
    for (QString line : DecodeText(file.readAll()).split('\n')) {
        if (line.endsWith('\r')) line.chop(1);
        if (!line.isEmpty() && !line.startsWith(';')) lines << line;
    }
    return lines;
}

QString NameOfListLine(const QString& line) {
    const qsizetype colon = line.indexOf(':');
    return colon < 0 ? QString() : line.left(colon);
}

QString Unescape(const QString& text) {
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 >= text.size()) {
            result += text[i];
            continue;
        }
        const QChar next = text[++i];
        if (next == 'n') result += '\n';
        else if (next == 'r') result += '\r';
        else if (next == '\\') result += '\\';
        else result += QString('\\') + next;
    }
    return result;
}

QString LimitLength(QString text) {
    if (text.size() <= MaxLangStringLength) return text;
    qsizetype cut = MaxLangStringLength;
    if (text[cut - 1].isHighSurrogate()) --cut; // never split a character in two
    return text.left(cut);
}

// --- Translation of one component -----------------------------------------------------------------

constexpr auto DesignRecorded = "_designRecorded";
constexpr auto DesignCaption = "_designCaption";
constexpr auto DesignHint = "_designHint";
constexpr auto DesignItems = "_designItems";

// A tab page's caption is its tab's text.
QTabWidget* TabOwning(QWidget* page) {
    auto* stack = qobject_cast<QStackedWidget*>(page->parentWidget());
    return stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
}

bool HasCaption(QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget || qobject_cast<QMenu*>(widget)) return false;
    return qobject_cast<QAbstractButton*>(widget) || qobject_cast<QLabel*>(widget) ||
           qobject_cast<QGroupBox*>(widget) || TabOwning(widget);
}

QString CaptionOf(QObject* object) {
    if (auto* button = qobject_cast<QAbstractButton*>(object)) return button->text();
    if (auto* label = qobject_cast<QLabel*>(object)) return label->text();
    if (auto* group = qobject_cast<QGroupBox*>(object)) return group->title();
    if (auto* menu = qobject_cast<QMenu*>(object)) return menu->title();
    if (auto* action = qobject_cast<QAction*>(object)) return action->text();
    auto* widget = qobject_cast<QWidget*>(object);
    if (QTabWidget* tabs = widget ? TabOwning(widget) : nullptr) return tabs->tabText(tabs->indexOf(widget));
    return {};
}

void SetCaption(QObject* object, const QString& caption) {
    if (auto* button = qobject_cast<QAbstractButton*>(object)) return button->setText(caption);
    if (auto* label = qobject_cast<QLabel*>(object)) return label->setText(caption);
    if (auto* group = qobject_cast<QGroupBox*>(object)) return group->setTitle(caption);
    if (auto* menu = qobject_cast<QMenu*>(object)) return menu->setTitle(caption);
    if (auto* action = qobject_cast<QAction*>(object)) return action->setText(caption);
    auto* widget = qobject_cast<QWidget*>(object);
    if (QTabWidget* tabs = widget ? TabOwning(widget) : nullptr) tabs->setTabText(tabs->indexOf(widget), caption);
}

bool IsMenuItem(QObject* object) { return qobject_cast<QAction*>(object) || qobject_cast<QMenu*>(object); }

// A menu item's hint is its status-bar text; a control's is its tooltip.
QString HintOf(QObject* object) {
    if (auto* action = qobject_cast<QAction*>(object)) return action->statusTip();
    if (auto* menu = qobject_cast<QMenu*>(object)) return menu->menuAction()->statusTip();
    if (auto* widget = qobject_cast<QWidget*>(object)) return widget->toolTip();
    return {};
}

void SetHint(QObject* object, const QString& hint) {
    if (auto* action = qobject_cast<QAction*>(object)) return action->setStatusTip(hint);
    if (auto* menu = qobject_cast<QMenu*>(object)) return menu->menuAction()->setStatusTip(hint);
    if (auto* widget = qobject_cast<QWidget*>(object)) widget->setToolTip(hint);
}

QStringList ItemsOf(QObject* object) {
    if (auto* combo = qobject_cast<QComboBox*>(object)) {
        QStringList items;
        for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
        return items;
    }
    if (auto* group = qobject_cast<TRadioGroup*>(object)) return group->Items();
    return {};
}

void SetItemsKeepingIndex(QObject* object, const QStringList& items) {
    if (auto* combo = qobject_cast<QComboBox*>(object)) {
        const int index = combo->currentIndex();
        combo->clear();
        combo->addItems(items);
        combo->setCurrentIndex(index < combo->count() ? index : -1);
    }
    if (auto* group = qobject_cast<TRadioGroup*>(object)) group->SetItems(items);
}

// Remembers the design-time texts once, so the built-in German can be brought back.
void RecordDesignTexts(QObject* object) {
    if (object->property(DesignRecorded).toBool()) return;
    object->setProperty(DesignRecorded, true);
    object->setProperty(DesignCaption, CaptionOf(object));
    object->setProperty(DesignHint, HintOf(object));
    object->setProperty(DesignItems, ItemsOf(object));
}

QStringList FieldsFrom(const QString& text, int first) {
    QStringList fields;
    const int count = CountFields(text, FieldDelimiter);
    for (int i = first; i < count; ++i) fields << GetField(text, FieldDelimiter, i);
    return fields;
}

// The entries a list text gives its list. The program reads a list's choice back as an index (a
// player's kind, a game variant) and stores it, so a translation may rename the entries but never
// change how many there are: a text with too few keeps the built-in entries, and entries beyond
// the built-in ones are left out. A list built without entries takes the text's as they are.
QStringList TranslatedItems(QObject* object, const QString& text) {
    const QStringList builtIn = object->property(DesignItems).toStringList();
    const QStringList translated = FieldsFrom(text, 1);
    if (builtIn.isEmpty()) return translated;
    if (translated.size() < builtIn.size()) return builtIn;
    return translated.first(builtIn.size());
}

void SetIfNotEmpty(QObject* object, void (*setter)(QObject*, const QString&), const QString& value) {
    if (!value.isEmpty()) setter(object, value);
}

// The five rules, in order; a later rule may overwrite what an earlier one set.
void TranslateComponent(QObject* object, const QString& text) {
    const QString field0 = GetField(text, FieldDelimiter, 0);
    const QString field1 = GetField(text, FieldDelimiter, 1);
    const bool isControl = qobject_cast<QWidget*>(object) && !qobject_cast<QMenu*>(object);
    if (isControl && HasCaption(object)) {
        SetIfNotEmpty(object, SetCaption, field0);
        SetIfNotEmpty(object, SetHint, field1);
    }
    if (isControl && !HasCaption(object)) SetIfNotEmpty(object, SetHint, text);
    if (IsMenuItem(object)) {
        SetIfNotEmpty(object, SetCaption, field0);
        SetIfNotEmpty(object, SetHint, field1);
    }
    const bool hasItems = qobject_cast<QComboBox*>(object) || qobject_cast<TRadioGroup*>(object);
    if (hasItems && !text.isEmpty()) {
        SetIfNotEmpty(object, SetHint, field0);
        SetItemsKeepingIndex(object, TranslatedItems(object, text));
    }
}

void RestoreDesignTexts(QObject* object) {
    if (!object->property(DesignRecorded).toBool()) return;
    SetCaption(object, object->property(DesignCaption).toString());
    SetHint(object, object->property(DesignHint).toString());
    if (qobject_cast<QComboBox*>(object) || qobject_cast<TRadioGroup*>(object))
        SetItemsKeepingIndex(object, object->property(DesignItems).toStringList());
}

// Translating a radio group replaces its buttons, so components are held by guarded pointers.
template <typename Visit>
void ForEachTaggedComponent(QWidget* window, Visit visit) {
    const QList<QObject*> found = window->findChildren<QObject*>();
    const QList<QPointer<QObject>> components(found.begin(), found.end());
    for (const QPointer<QObject>& component : components) {
        if (!component) continue;
        const int tag = component->property("Tag").toInt();
        if (tag != 0) visit(component.data(), tag);
    }
}

// A language could not be loaded: the windows return to the texts they were designed with.
void RestoreBuiltInTexts() {
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows)
        ForEachTaggedComponent(window, [](QObject* component, int) { RestoreDesignTexts(component); });
}

} // namespace

QHash<int, QString> ParseLanguageFile(const QByteArray& bytes) {
    QHash<int, QString> texts;
    const QStringList lines = DecodeText(bytes).split('\n');
    for (QString line : lines) {
        if (line.endsWith('\r')) line.chop(1);
        if (line.trimmed().startsWith(';')) continue;
        const qsizetype equals = line.indexOf('=');
        if (equals <= 0) continue;
        bool ok = false;
        const int number = line.left(equals).trimmed().toInt(&ok, 10);
        if (!ok || number < 0 || number > MaxStringNumber) continue;
        texts.insert(number, LimitLength(Unescape(line.mid(equals + 1))));
    }
    return texts;
}

QString LoadLangString(int number, const QString& defaultText) {
    const TActiveLanguage& language = Active();
    if (!language.Open) return defaultText;
    const QString text = language.Texts.value(number);
    return text.isEmpty() ? defaultText : text;
}

void CloseLanguageFile() { Active() = {}; }

QString ActiveLanguageFile() { return Active().Open ? Active().Name : QString(); }

bool LoadLanguageFile(const QString& name) {
    CloseLanguageFile();
    QFile file(ResolvePath(ProgramDir() + "Lang\\" + name + ".lng"));
    if (name.isEmpty() || !file.open(QIODevice::ReadOnly)) return false;
    Active() = {name, ParseLanguageFile(file.readAll()), true};
    return true;
}

QString DetectLanguage() {
    const QString code = QString("$%1").arg(SystemLanguageId(), 4, 16, QChar('0')).toUpper();
    const std::optional<QStringList> lines = LanguageListLines();
    if (!lines) ReportMissingLanguageList();
    QString name;
    for (const QString& line : lines.value_or(QStringList()))
        if (line.contains(code, Qt::CaseSensitive)) name = NameOfListLine(line);
    return name.isEmpty() ? QString("English") : name;
}

void ListLanguages(QStringList& list) {
    list << "Automatic" << "English";
    const std::optional<QStringList> lines = LanguageListLines();
    if (!lines) ReportMissingLanguageList();
    for (const QString& line : lines.value_or(QStringList())) {
        // English is offered already; a list that names it again would show it twice.
        const QString name = NameOfListLine(line);
        if (!list.contains(name)) list << name;
    }
}

QString SetLanguage(const QString& name) {
    const QString resolved = (name.isEmpty() || name == "Automatic") ? DetectLanguage() : name;
    if (!LoadLanguageFile(resolved)) {
        ShowCenteredMessage("Couldn't open the language file --> language NOT changed", TMsgDlgType::mtCustom, mbOK,
                            nullptr, "File missing?");
        RestoreBuiltInTexts();
        return {};
    }
    TranslateForms();
    return resolved;
}

void TranslateWindow(QWidget* window) {
    ForEachTaggedComponent(window, [](QObject* component, int tag) {
        RecordDesignTexts(component);
        TranslateComponent(component, LoadLangString(tag, QString()));
    });
}

void TranslateForms() {
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) TranslateWindow(window);
}

int LanguageIdForLocale(const QLocale& locale) {
    struct Entry {
        QLocale::Language language;
        QLocale::Territory territory; // AnyTerritory: the language's default identifier
        int id;
    };
    static const Entry table[] = {
        {QLocale::German, QLocale::Germany, 0x0407},          {QLocale::German, QLocale::Switzerland, 0x0807},
        {QLocale::German, QLocale::Austria, 0x0C07},          {QLocale::German, QLocale::Luxembourg, 0x1007},
        {QLocale::German, QLocale::Liechtenstein, 0x1407},    {QLocale::German, QLocale::AnyTerritory, 0x0407},
        {QLocale::English, QLocale::UnitedStates, 0x0409},    {QLocale::English, QLocale::UnitedKingdom, 0x0809},
        {QLocale::English, QLocale::Australia, 0x0C09},       {QLocale::English, QLocale::Canada, 0x1009},
        {QLocale::English, QLocale::NewZealand, 0x1409},      {QLocale::English, QLocale::Ireland, 0x1809},
        {QLocale::English, QLocale::SouthAfrica, 0x1C09},     {QLocale::English, QLocale::Jamaica, 0x2009},
        {QLocale::English, QLocale::Belize, 0x2809},          {QLocale::English, QLocale::TrinidadAndTobago, 0x2C09},
        {QLocale::English, QLocale::Zimbabwe, 0x3009},        {QLocale::English, QLocale::Philippines, 0x3409},
        {QLocale::English, QLocale::India, 0x4009},           {QLocale::English, QLocale::Malaysia, 0x4409},
        {QLocale::English, QLocale::Singapore, 0x4809},       {QLocale::English, QLocale::AnyTerritory, 0x0409},
        {QLocale::French, QLocale::France, 0x040C},           {QLocale::French, QLocale::Belgium, 0x080C},
        {QLocale::French, QLocale::Canada, 0x0C0C},           {QLocale::French, QLocale::Switzerland, 0x100C},
        {QLocale::French, QLocale::AnyTerritory, 0x040C},     {QLocale::Italian, QLocale::Switzerland, 0x0810},
        {QLocale::Italian, QLocale::AnyTerritory, 0x0410},    {QLocale::Spanish, QLocale::Mexico, 0x080A},
        {QLocale::Spanish, QLocale::AnyTerritory, 0x0C0A},    {QLocale::Dutch, QLocale::Belgium, 0x0813},
        {QLocale::Dutch, QLocale::AnyTerritory, 0x0413},      {QLocale::Portuguese, QLocale::Brazil, 0x0416},
        {QLocale::Portuguese, QLocale::AnyTerritory, 0x0816}, {QLocale::Polish, QLocale::AnyTerritory, 0x0415},
        {QLocale::Russian, QLocale::AnyTerritory, 0x0419},    {QLocale::Czech, QLocale::AnyTerritory, 0x0405},
        {QLocale::Danish, QLocale::AnyTerritory, 0x0406},     {QLocale::Swedish, QLocale::AnyTerritory, 0x041D},
        {QLocale::Finnish, QLocale::AnyTerritory, 0x040B},    {QLocale::NorwegianBokmal, QLocale::AnyTerritory, 0x0414},
        {QLocale::Hungarian, QLocale::AnyTerritory, 0x040E},  {QLocale::Turkish, QLocale::AnyTerritory, 0x041F},
        {QLocale::Greek, QLocale::AnyTerritory, 0x0408},      {QLocale::Japanese, QLocale::AnyTerritory, 0x0411},
        {QLocale::Korean, QLocale::AnyTerritory, 0x0412},     {QLocale::Chinese, QLocale::Taiwan, 0x0404},
        {QLocale::Chinese, QLocale::AnyTerritory, 0x0804},
    };
    for (const Entry& e : table)
        if (e.language == locale.language() && e.territory == locale.territory()) return e.id;
    for (const Entry& e : table)
        if (e.language == locale.language() && e.territory == QLocale::AnyTerritory) return e.id;
    return 0x0409; // the "C" locale and anything unknown count as US English
}

int SystemLanguageId() {
    const int id = SystemLanguageOverride();
    return id != 0 ? id : LanguageIdForLocale(QLocale::system());
}

void SetSystemLanguageId(int id) { SystemLanguageOverride() = id; }

#include "startup/Session.h"

#include "platform/files/LibraryFileDialog.h"
#include "platform/files/ProgramFolder.h"
#include "platform/files/SaveFileDialog.h"
#include "platform/programs/ProgramName.h"
#include "platform/speech/Speech.h"
#include "startup/BackgroundPictures.h"
#include "startup/Companion.h"
#include "startup/SettingsFile.h"
#include "wordbook/WordbookExport.h"
#include "worddata/LibrarySelection.h"
#include "wordlist/WordTables.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>
#include <QTime>

namespace {

// More of a meaning than a completion row can ever show.
constexpr qsizetype kMeaningStart = 80;

// One line of a meaning, for a completion row.
QString startOf(const QString &meaning)
{
    QString start = meaning.first(std::min(meaning.size(), kMeaningStart));
    for (QChar &c : start) {
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    }
    return start;
}

// Reads a library again behind the board, which the caller then brings up to date itself.
class QuietHost : public LibraryHost
{
public:
    void showMessage(const QString &text) override { messages << text; }
    void resetBoard() override {}
    void libraryOpened(const QString &) override {}
    void noLibraryOpen() override {}
    QStringList messages;
};

const QString kEmptyWordbook =
    QStringLiteral("生词本里还没有单词。在单词盘上按 Ctrl+B，或在单词上点右键选“加入生词本”，"
                   "把单词收进生词本。");

} // namespace

Session::Session(Services services)
    : services_(std::move(services))
    , board_(BoardGeometry(), boardServices())
{}

Session::~Session() = default;

BoardModel::Services Session::boardServices()
{
    BoardModel::Services s;
    s.library = &library_;
    s.speech = services_.speech;
    s.messages = static_cast<LibraryHost *>(this);
    s.readAloud = &settings_.readAloud;
    s.random = [this] { return nextRandom(); };
    s.inWordbook = [this](const QString &word) { return inWordbook(word); };
    s.phonetic = [this](const QString &word) { return phonetic(word); };
    return s;
}

double Session::nextRandom()
{
    // minstd_rand gives 1 .. 2^31 - 2: shifted and scaled into [0, 1).
    return double(random_() - 1) / double(std::minstd_rand::max());
}

QString Session::helpFile() const
{
    return QDir(services_.programFolder).filePath(programName() + QStringLiteral(".chm"));
}

Session::Start Session::Form_Load()
{
    const QString &programFolder = services_.programFolder;
    // A program folder that cannot be made current (a vanished network share, say) is not
    // fatal: every path below is built from the folder itself.
    ProgramFolder::makeCurrent(programFolder);

    random_.seed(services_.randomSeed.value_or(quint32(QTime::currentTime().msecsSinceStartOfDay() / 1000)));
    settings_.setDefaults();
    board_.chooseLayout(BoardGeometry::forScreenHeightTwips(services_.screenHeightTwips));

    const SettingsFile settingsFile(programFolder);
    settingsFile.createIfMissing(settings_);
    settingsFile.read(settings_);

    if (!settings_.companionChecked)
        BackgroundPictures::seed(programFolder);
    lookUpCompanion();

    Start start;
    start.background = chooseBackground();

    board_.fillSlotLayout();
    board_.resetHistory();
    board_.computeSlots();
    board_.placeRing();
    // Only queued: the engine itself loads after the window's first frame.
    if (settings_.readAloud && services_.speech)
        services_.speech->speak(QStringLiteral("welcome"));
    board_.placeCentre();
    board_.dispchin(BoardModel::centreSlot, BoardModel::greeting);
    board_.setNoLibraryState();

    start.messages = takeMessages();
    return start;
}

// The companion's folder at every start, the one-time decision with its message while it has
// not been taken, then the data folder.
void Session::lookUpCompanion()
{
    dataFolder_ = services_.programFolder;
    if (!services_.registry || !services_.environment)
        return;
    const SettingsFile settingsFile(services_.programFolder);
    const CompanionResult companion = Companion::run(
        settings_, services_.programFolder, *services_.registry, *services_.environment,
        *static_cast<LibraryHost *>(this), [&settingsFile](const Settings &s) { return settingsFile.writeAll(s); });
    if (!companion.dataFolder.isEmpty())
        dataFolder_ = companion.dataFolder;
}

QString Session::chooseBackground()
{
    const QString folder = BackgroundPictures::folder(services_.programFolder, geometry().resolutionIndex);
    settings_.desktopPicture = BackgroundPictures::chooseAtStart(
        folder, settings_.desktopPicture, settings_.desktopRandom, [this] { return nextRandom(); });
    return QDir(folder).filePath(settings_.desktopPicture);
}

QStringList Session::takeMessages()
{
    return std::exchange(messages_, QStringList());
}

void Session::chooseLibrary()
{
    const QString libraryFolder = LibrarySelection::libraryFolder(dataFolder_);
    if (!services_.libraryDialog || !QFileInfo(libraryFolder).isDir())
        return;
    library_.previousLibraryName = library_.libraryName;
    const std::optional<QString> chosen = services_.libraryDialog->getOpenFileName(
        LibrarySelection::dialogTitle, LibrarySelection::dialogFilter, QDir::toNativeSeparators(libraryFolder));
    if (!chosen || chosen->size() < 3)
        return;
    library_.libraryName = LibrarySelection::libraryNameOf(*chosen);
    library_.openwordfile(dataFolder_, *this);
}

void Session::openLibrary(const QString &name)
{
    library_.previousLibraryName = library_.libraryName;
    library_.libraryName = name;
    library_.openwordfile(dataFolder_, *this);
}

LibraryFromList::Outcome Session::makeLibrary(const QString &listPath, const QString &name, bool overwrite,
                                              const std::function<bool(int wordCount)> &confirm)
{
    QString problem;
    const WordTables *tables = wordTables(problem);
    if (!tables)
        return {LibraryFromList::Status::Failed, problem, 0};
    LibraryFromList::Request request;
    request.listPath = listPath;
    request.name = name;
    request.dataFolder = dataFolder_;
    request.overwrite = overwrite;
    request.confirm = confirm;
    // A message box names a few words; the command line names them all.
    request.reportLimit = 20;
    return LibraryFromList::make(request, *tables);
}

const WordTables *Session::wordTables(QString &problem)
{
    if (!wordTables_ && tablesProblem_.isEmpty()) {
        auto tables = std::make_unique<WordTables>();
        const QString path = services_.wordTables.isEmpty() ? WordTables::defaultPath() : services_.wordTables;
        if (tables->open(path, tablesProblem_))
            wordTables_ = std::move(tables);
    }
    problem = tablesProblem_;
    return wordTables_.get();
}

QString Session::phonetic(const QString &word)
{
    QString problem;
    const WordTables *tables = wordTables(problem);
    return tables ? tables->phonetic(word) : QString();
}

bool Session::wordShownAt(int slot) const
{
    if (slot != BoardModel::centreSlot)
        return board_.slotFocused(slot);
    return board_.currentWord() > 0 && board_.slot(slot).labelShown && !board_.slot(slot).caption.isEmpty();
}

int Session::wordbookSlot() const
{
    if (board_.slotFocused(board_.focusSlot()))
        return board_.focusSlot();
    return wordShownAt(BoardModel::centreSlot) ? BoardModel::centreSlot : -1;
}

bool Session::inWordbook(const QString &word) const
{
    if (pending_ && pending_->entry.word == word)
        return pending_->adding;
    return wordbook_ && wordbook_->contains(word);
}

Wordbook *Session::readWordbook(const Ask *ask)
{
    if (!wordbook_)
        wordbook_ = std::make_unique<Wordbook>(dataFolder_);
    if (wordbook_->read())
        return wordbook_.get();
    if (!ask) {
        showMessage(wordbook_->problem());
        return nullptr;
    }
    const QString question =
        wordbook_->problem() +
        QStringLiteral("\n\n把它的文件改名为《%1》留着，另开一个新的生词本吗？").arg(wordbook_->asideName());
    if (!*ask || !(*ask)(question))
        return nullptr;
    if (!wordbook_->startAfresh()) {
        showMessage(wordbook_->problem());
        return nullptr;
    }
    return wordbook_.get();
}

bool Session::toggleWordbook(int slot, const Ask &ask)
{
    saveWordbook();
    if (!wordShownAt(slot) || board_.slot(slot).caption.isEmpty())
        return false;
    const Wordbook *book = readWordbook(&ask);
    if (!book)
        return false;
    const BoardModel::Slot &shown = board_.slot(slot);
    WordbookChange change{{shown.caption, shown.meaning, {}, library_.libraryName}, !book->contains(shown.caption)};
    Wordbook::Entry &entry = change.entry;
    if (change.adding && (!Wordbook::storable(entry.word) || !Wordbook::storable(entry.meaning))) {
        showMessage(QStringLiteral("“%1”不能加入生词本：它或它的释义含有代码页 936（GBK）写不下的字符或引号。")
                        .arg(entry.word));
        return false;
    }
    // The associations the word has where it was found: a ring word's own, when it is a headword.
    const int index = slot == BoardModel::centreSlot ? board_.currentWord() : board_.lookUp(entry.word);
    const AssociationTable &groups = library_.associations();
    for (int k = 1; change.adding && index > 0 && k <= groups.assocCounts(index); ++k)
        entry.associations.append({groups.assocWords(index, k), groups.assocMeanings(index, k)});
    // A ring word of the open wordbook came from where the word in the centre did.
    if (entry.library == Wordbook::name) {
        const QString centre = board_.slot(BoardModel::centreSlot).caption;
        for (qsizetype i = 0; i < book->size(); ++i) {
            if (book->entry(i).word == centre)
                entry.library = book->entry(i).library;
        }
    }
    pending_ = std::move(change);
    board_.refreshMarks();
    return true;
}

void Session::saveWordbook()
{
    if (!pending_ || !wordbook_)
        return;
    const WordbookChange change = std::move(*pending_);
    pending_.reset();
    const Wordbook::Change done = change.adding ? wordbook_->add(change.entry) : wordbook_->remove(change.entry.word);
    if (done == Wordbook::Change::Failed) {
        showMessage(QStringLiteral("无法把“%1”%2：\n%3")
                        .arg(change.entry.word,
                             change.adding ? QStringLiteral("加入生词本") : QStringLiteral("移出生词本"),
                             wordbook_->problem()));
    } else if (done == Wordbook::Change::Done && library_.isOpen() && library_.libraryName == Wordbook::name) {
        rereadWordbook(!change.adding);
    }
    board_.refreshMarks();
}

void Session::rereadWordbook(bool removed)
{
    // Additions append, so every index stays; a removal moves the later ones.
    QHash<int, QString> chain;
    for (int n = 1; n <= board_.historyDepth(); ++n)
        chain.insert(board_.history(n), library_.wordLibrary().words(board_.history(n)));
    QuietHost host;
    library_.previousLibraryName = library_.libraryName;
    if (library_.openwordfile(dataFolder_, host) != OpenLibrary::LoadResult::Loaded) {
        messages_ += host.messages;
        return;
    }
    if (removed)
        board_.libraryReread([&](int old) { return library_.wordLibrary().find(chain.value(old)); });
}

void Session::openWordbook()
{
    saveWordbook();
    const Wordbook *book = readWordbook(nullptr);
    if (!book)
        return;
    if (book->size() == 0) {
        showMessage(kEmptyWordbook);
        return;
    }
    openLibrary(Wordbook::name);
}

void Session::exportWordbook()
{
    saveWordbook();
    const Wordbook *book = readWordbook(nullptr);
    if (!book || !services_.saveDialog)
        return;
    if (book->size() == 0) {
        showMessage(kEmptyWordbook);
        return;
    }
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const std::optional<QString> path =
        services_.saveDialog->getSaveFileName(QStringLiteral("导出生词本"), QStringLiteral("文本文件 (*.txt)"),
                                              QDir(documents).filePath(Wordbook::name + QStringLiteral(".txt")));
    if (!path)
        return;
    QString problem;
    const QByteArray notes = WordbookExport::notes(*book, [this](const QString &word) { return phonetic(word); });
    if (!WordbookExport::write(*path, notes, problem)) {
        showMessage(problem);
        return;
    }
    showMessage(
        QStringLiteral("已把生词本的 %1 个单词导出到“%2”。\nAnki 用“导入”就能读它：每个单词一张卡片，正面是单词，"
                       "背面是释义，词库名是标签。")
            .arg(book->size())
            .arg(QDir::toNativeSeparators(*path)));
}

bool Session::libraryExists(const QString &name) const
{
    return LibraryFromList::exists(dataFolder_, name);
}

bool Session::takesDrop(const QString &path)
{
    static const QStringList suffixes = {QStringLiteral("txt"), QStringLiteral("csv"), QStringLiteral("tsv"),
                                         QStringLiteral("qd")};
    return suffixes.contains(QFileInfo(path).suffix().toLower());
}

QString Session::fileDropped(const QString &path, const std::function<bool(const QString &question)> &ask)
{
    const QFileInfo list(path);
    if (list.suffix().compare(QLatin1String("qd"), Qt::CaseInsensitive) == 0) {
        openLibrary(LibrarySelection::libraryNameOf(path));
        return {};
    }
    const QString name = list.completeBaseName();
    const bool exists = libraryExists(name);
    const auto confirm = [&](int wordCount) {
        QString question =
            QStringLiteral("用“%1”里的 %2 个单词做词库《%3》吗？").arg(list.fileName()).arg(wordCount).arg(name);
        if (exists)
            question += QStringLiteral("\n词库《%1》已经存在，将被新做的替换。").arg(name);
        return ask && ask(question);
    };
    const LibraryFromList::Outcome made = makeLibrary(path, name, exists, confirm);
    if (made.status == LibraryFromList::Status::Made)
        openLibrary(name);
    return made.text;
}

QString Session::dataFolderFor(const QString &programFolder, const Registry &registry, const Environment &environment)
{
    Settings settings;
    settings.setDefaults();
    SettingsFile(programFolder).read(settings);
    const QString companion = Companion::lookup(registry, environment);
    if (!settings.companionChecked)
        settings.shareCompanionFolders = !companion.isEmpty();
    return Companion::chooseDataFolder(settings, companion, programFolder);
}

QList<Session::Completion> Session::completions(const QString &typed) const
{
    QList<Completion> rows;
    if (typed.isEmpty() || typed == BoardModel::inputPrompt || !library_.isOpen() || !board_.inputEnabled())
        return rows;
    const WordLibrary &words = library_.wordLibrary();
    for (const int i : words.completions(typed))
        rows.append({words.words(i), startOf(words.meanings(i))});
    return rows;
}

OptionsPage Session::optionsPage() const
{
    OptionsPage page;
    const int resolution = geometry().resolutionIndex;
    page.pictureFolder = BackgroundPictures::folder(services_.programFolder, resolution);
    page.files = BackgroundPictures::listFiles(page.pictureFolder);
    page.resolutionText = BackgroundPictures::resolutionText(resolution);
    page.desktopPicture = settings_.desktopPicture;
    page.desktopRandom = settings_.desktopRandom;
    page.readAloud = settings_.readAloud;
    return page;
}

OptionsOutcome Session::optionsConfirmed(const OptionsChoice &choice)
{
    OptionsOutcome outcome;
    settings_.desktopRandom = choice.desktopRandom;
    // Without a selection, or with a file that is no picture, the background stays and so does
    // the name that says which it is.
    if (!choice.picture.isEmpty()) {
        if (choice.pictureProblem.isEmpty()) {
            settings_.desktopPicture = choice.picture;
            outcome.background = QDir(BackgroundPictures::folder(services_.programFolder, geometry().resolutionIndex))
                                     .filePath(choice.picture);
        } else {
            outcome.messages
                << QStringLiteral("“%1”不能用作背景：%2。背景保持不变。").arg(choice.picture, choice.pictureProblem);
        }
    }
    settings_.readAloud = choice.readAloud;
    const SettingsFile file(services_.programFolder);
    if (!file.writeAll(settings_)) {
        outcome.messages << QStringLiteral("无法写入设置文件“%1”。新的选项只在这次运行中有效。")
                                .arg(QDir::toNativeSeparators(file.path()));
    }
    return outcome;
}

void Session::showMessage(const QString &text)
{
    messages_.append(text);
}

void Session::resetBoard()
{
    board_.resetForLibrary();
    if (paintNow_)
        paintNow_();
}

void Session::libraryOpened(const QString &libraryName)
{
    // The marks need the wordbook; a damaged one marks nothing and is told about when used.
    if (!wordbook_)
        wordbook_ = std::make_unique<Wordbook>(dataFolder_);
    wordbook_->read();
    board_.libraryOpened(libraryName);
}

void Session::noLibraryOpen()
{
    board_.setNoLibraryState();
}

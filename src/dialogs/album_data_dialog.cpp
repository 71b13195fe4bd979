#include "dialogs/album_data_dialog.h"

#include "dialogs/display_items_dialog.h"
#include "frame/app_frame.h"
#include "frame/history_manager.h"
#include "music/album_search.h"
#include "platform/settings_store.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

namespace orvella {

namespace {

const char* const kPlaylistFailed = "プレイリストの読み込みに失敗したか、内容が正しくありません";

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

THistoryManager& KeywordHistory()
{
    static THistoryManager history = [] {
        THistoryManager made;
        made.RegistryKey = "$(FindAlbumHistory)";
        return made;
    }();
    return history;
}

// The window's bounds live under "AlbumsInfo" in the settings key.
std::optional<std::string> BoundsKey()
{
    const std::optional<std::string> key = AppFrame() ? SettingsKey() : std::nullopt;
    if (!key)
        return std::nullopt;
    return *key + "\\AlbumsInfo";
}

constexpr const char* kBoundNames[4] = {"FormLeft", "FormTop", "FormRight", "FormBottom"};

std::string& LastPlaylist()
{
    static std::string file;
    return file;
}

} // namespace

bool SelectMusicFolder(QWidget* parent, std::vector<std::string>& fileNames, std::string& folder)
{
    const QString picked
        = QFileDialog::getOpenFileName(parent, QStringLiteral("フォルダ内のファイルを選択してください"));
    if (picked.isEmpty())
        return false;
    folder = QFileInfo(picked).absolutePath().toStdString();
    fileNames = ListFolderFiles(folder);
    return true;
}

int& TfrmAlbumData::CurrentIndex()
{
    static int index = 0;
    return index;
}

TfrmAlbumData::TfrmAlbumData(QWidget* parent, const std::string& storeFile)
    : QDialog(parent)
{
    RegisterAlbumClasses();
    albums_.Open(storeFile, false);
    if (albums_.Count() == 0)
        albums_.Store(TAlbumInfo(), -1);
    CurrentIndex() = std::clamp(CurrentIndex(), 0, albums_.Count() - 1);
    working_.Assign(albums_.Album(CurrentIndex()));
    build();
    showAlbum();
}

TfrmAlbumData::~TfrmAlbumData() = default;

void TfrmAlbumData::build()
{
    setWindowTitle(QStringLiteral("アルバム情報"));
    resize(720, 520);

    title_ = new QLineEdit;
    artist_ = new QLineEdit;
    connect(title_, &QLineEdit::textEdited, this, [this](const QString& text) { working_.Title = text.toStdString(); });
    connect(
        artist_, &QLineEdit::textEdited, this, [this](const QString& text) { working_.Artist = text.toStdString(); });

    first_ = new QPushButton(QStringLiteral("|<"));
    previous_ = new QPushButton(QStringLiteral("<"));
    next_ = new QPushButton(QStringLiteral(">"));
    last_ = new QPushButton(QStringLiteral(">|"));
    position_ = new QLabel;
    connect(first_, &QPushButton::clicked, this, [this] { guarded([this] { MoveTo(0); }); });
    connect(previous_, &QPushButton::clicked, this, [this] { guarded([this] { MoveTo(CurrentIndex() - 1); }); });
    connect(next_, &QPushButton::clicked, this, [this] { guarded([this] { MoveTo(CurrentIndex() + 1); }); });
    connect(last_, &QPushButton::clicked, this, [this] { guarded([this] { MoveTo(albums_.Count() - 1); }); });

    auto* add = new QPushButton(QStringLiteral("アルバムの追加"));
    auto* addMenu = new QMenu(add);
    addMenu->addAction(
        QStringLiteral("最後尾に追加"), this, [this] { guarded([this] { AddAlbum(0, copyCurrent_->isChecked()); }); });
    addMenu->addAction(QStringLiteral("現在の位置に追加"), this,
        [this] { guarded([this] { AddAlbum(1, copyCurrent_->isChecked()); }); });
    addMenu->addAction(
        QStringLiteral("先頭に追加"), this, [this] { guarded([this] { AddAlbum(2, copyCurrent_->isChecked()); }); });
    add->setMenu(addMenu);
    copyCurrent_ = new QCheckBox(QStringLiteral("現在の内容をコピーする"));

    auto* remove = new QPushButton(QStringLiteral("アルバムの削除"));
    auto* removeMenu = new QMenu(remove);
    removeMenu->addAction(
        QStringLiteral("現在のアルバム"), this, [this] { guarded([this] { DeleteCurrentAlbum(); }); });
    removeMenu->addAction(QStringLiteral("すべてのアルバムを削除"), this, [this] {
        if (QMessageBox::question(this, windowTitle(), QStringLiteral("すべてのアルバムを削除しますか?"))
            == QMessageBox::Yes)
            guarded([this] { DeleteAllAlbums(); });
    });
    remove->setMenu(removeMenu);

    grid_ = new QTableWidget(0, 5);
    grid_->setHorizontalHeaderLabels({QStringLiteral("No."), QStringLiteral("タイトル"), QStringLiteral("時間"),
        QStringLiteral("アーティスト"), QStringLiteral("アルバム")});
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    grid_->setColumnWidth(0, 44);
    grid_->setColumnWidth(2, 64);
    grid_->setColumnWidth(3, 150);
    grid_->setColumnWidth(4, 150);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(grid_, &QTableWidget::cellChanged, this, &TfrmAlbumData::cellEdited);
    connect(grid_, &QTableWidget::currentCellChanged, this, [this] { updateCommands(); });

    insertTrack_ = new QPushButton(QStringLiteral("挿入(&I)"));
    deleteTrack_ = new QPushButton(QStringLiteral("削除(&D)"));
    moveUp_ = new QPushButton(QStringLiteral("上へ(&U)"));
    moveDown_ = new QPushButton(QStringLiteral("下へ(&N)"));
    connect(insertTrack_, &QPushButton::clicked, this, [this] { insertTrack(); });
    connect(deleteTrack_, &QPushButton::clicked, this, [this] { deleteTrack(); });
    connect(moveUp_, &QPushButton::clicked, this, [this] { moveTrack(-1); });
    connect(moveDown_, &QPushButton::clicked, this, [this] { moveTrack(1); });

    auto* folder = new QPushButton(QStringLiteral("フォルダからのインポート(&O)..."));
    folder->setToolTip(QStringLiteral("Shift キーを押しながらで、フォルダ名・ファイル名を解析しません"));
    connect(folder, &QPushButton::clicked, this, [this] {
        const bool withoutNames = QGuiApplication::keyboardModifiers() & Qt::ShiftModifier;
        std::vector<std::string> names;
        std::string path;
        if (SelectMusicFolder(this, names, path))
            guarded([&] { ImportFolder(path, names, withoutNames); });
    });
    auto* playlist = new QPushButton(QStringLiteral("MP3プレイリストからのインポート(&P)..."));
    connect(playlist, &QPushButton::clicked, this, [this] {
        const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("プレイリストを開く"), Q(LastPlaylist()),
            QStringLiteral("プレイリスト (*.m3u *.m3u8 *.asx *.wax *.wvx *.txt *.xml);;すべてのファイル (*)"));
        if (file.isEmpty())
            return;
        guarded([&] {
            if (!ImportPlaylist(file.toStdString()))
                QMessageBox::warning(this, windowTitle(), QString::fromUtf8(kPlaylistFailed));
        });
    });

    keyword_ = new QComboBox;
    keyword_->setEditable(true);
    keyword_->setInsertPolicy(QComboBox::NoInsert);
    keyword_->lineEdit()->setPlaceholderText(QStringLiteral("キーワード"));
    if (AppFrame()) {
        try {
            for (const std::string& item : KeywordHistory().Items())
                keyword_->addItem(Q(item));
        } catch (const std::exception&) {
            // Without a readable history the search still works.
        }
    }
    keyword_->setCurrentText(QString());
    fuzzy_ = new QRadioButton(QStringLiteral("あいまい検索(&F)"));
    auto* strict = new QRadioButton(QStringLiteral("厳密に検索(&R)"));
    fuzzy_->setChecked(true);
    auto* find = new QPushButton(QStringLiteral("キーワードの検索"));
    auto search = [this] {
        guarded([this] {
            const std::string keyword = keyword_->currentText().toStdString();
            if (!keyword.empty() && AppFrame())
                KeywordHistory().Add(keyword);
            if (!FindNext(keyword, fuzzy_->isChecked()))
                QMessageBox::information(this, windowTitle(), QStringLiteral("見つかりませんでした"));
        });
    };
    connect(find, &QPushButton::clicked, this, search);
    connect(keyword_->lineEdit(), &QLineEdit::returnPressed, this, search);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* head = new QGridLayout;
    auto* titleLabel = new QLabel(QStringLiteral("タイトル(&T):"));
    titleLabel->setBuddy(title_);
    auto* artistLabel = new QLabel(QStringLiteral("アーティスト(&A):"));
    artistLabel->setBuddy(artist_);
    head->addWidget(titleLabel, 0, 0);
    head->addWidget(title_, 0, 1);
    head->addWidget(artistLabel, 1, 0);
    head->addWidget(artist_, 1, 1);
    auto* navigation = new QHBoxLayout;
    for (QWidget* w : {static_cast<QWidget*>(first_), static_cast<QWidget*>(previous_),
             static_cast<QWidget*>(position_), static_cast<QWidget*>(next_), static_cast<QWidget*>(last_)})
        navigation->addWidget(w);
    navigation->addStretch();
    navigation->addWidget(add);
    navigation->addWidget(copyCurrent_);
    navigation->addWidget(remove);
    auto* trackButtons = new QVBoxLayout;
    for (QPushButton* b : {insertTrack_, deleteTrack_, moveUp_, moveDown_})
        trackButtons->addWidget(b);
    trackButtons->addStretch();
    auto* middle = new QHBoxLayout;
    middle->addWidget(grid_, 1);
    middle->addLayout(trackButtons);
    auto* imports = new QHBoxLayout;
    imports->addWidget(folder);
    imports->addWidget(playlist);
    imports->addStretch();
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(keyword_, 1);
    searchRow->addWidget(fuzzy_);
    searchRow->addWidget(strict);
    searchRow->addWidget(find);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(navigation);
    layout->addLayout(head);
    layout->addLayout(middle, 1);
    layout->addLayout(imports);
    layout->addLayout(searchRow);
    layout->addWidget(buttons);
    restoreBounds();
}

void TfrmAlbumData::restoreBounds()
{
    const std::optional<std::string> key = BoundsKey();
    if (!key)
        return;
    int bounds[4];
    for (int i = 0; i < 4; ++i)
        bounds[i] = AppFrame()->SettingsStore().ReadInteger(*key, kBoundNames[i]).value_or(-1);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->size() : QSize(0, 0);
    const bool usable = bounds[0] >= 0 && bounds[1] >= 0 && bounds[2] >= 0 && bounds[3] >= 0
        && bounds[0] + 16 < size.width() && bounds[1] + 16 <= size.height() && bounds[2] > bounds[0]
        && bounds[3] > bounds[1];
    if (usable)
        setGeometry(bounds[0], bounds[1], bounds[2] - bounds[0], bounds[3] - bounds[1]);
}

void TfrmAlbumData::saveBounds()
{
    const std::optional<std::string> key = BoundsKey();
    if (!key)
        return;
    const QRect frame = geometry();
    const int bounds[4] = {frame.left(), frame.top(), frame.left() + frame.width(), frame.top() + frame.height()};
    try {
        for (int i = 0; i < 4; ++i)
            AppFrame()->SettingsStore().WriteInteger(*key, kBoundNames[i], bounds[i]);
    } catch (const std::exception&) {
        // The bounds are a convenience; closing goes on without them.
    }
}

void TfrmAlbumData::done(int result)
{
    saveBounds();
    QDialog::done(result);
}

void TfrmAlbumData::guarded(const std::function<void()>& command)
{
    try {
        command();
    } catch (const std::exception& error) {
        QMessageBox::warning(this, windowTitle(), QString::fromUtf8(error.what()));
    }
}

void TfrmAlbumData::writeBack()
{
    const int index = CurrentIndex();
    if (index >= 0 && index < albums_.Count() && !SameAlbum(working_, albums_.Album(index)))
        albums_.Store(working_, index);
}

void TfrmAlbumData::MoveTo(int index)
{
    writeBack();
    CurrentIndex() = std::clamp(index, 0, albums_.Count() - 1);
    working_.Assign(albums_.Album(CurrentIndex()));
    showAlbum();
}

void TfrmAlbumData::showAlbum()
{
    title_->setText(Q(working_.Title));
    artist_->setText(Q(working_.Artist));
    position_->setText(QStringLiteral("%1 / %2").arg(CurrentIndex() + 1).arg(albums_.Count()));
    showTracks();
}

void TfrmAlbumData::showTracks()
{
    filling_ = true;
    const int tracks = working_.TrackCount();
    grid_->setRowCount(tracks + 2);
    for (int row = 0; row < tracks + 2; ++row) {
        const bool hasTrack = row < tracks;
        auto* number = new QTableWidgetItem(hasTrack ? QString::number(row + 1) : QString());
        number->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        grid_->setItem(row, 0, number);
        const TTrackInfo* track = hasTrack ? &working_.Tracks.Get(std::size_t(row)) : nullptr;
        const std::string values[4] = {
            track ? track->Title : "", track ? track->Time : "", track ? track->Artist : "", track ? track->Album : ""};
        for (int column = 1; column <= 4; ++column)
            grid_->setItem(row, column, new QTableWidgetItem(Q(values[column - 1])));
    }
    filling_ = false;
    updateCommands();
}

void TfrmAlbumData::cellEdited(int row, int column)
{
    if (filling_ || column < 1)
        return;
    const std::string text = grid_->item(row, column)->text().toStdString();
    const bool grew = row >= working_.TrackCount();
    while (working_.TrackCount() <= row)
        working_.Tracks.Add();
    TTrackInfo& track = working_.Tracks.Get(std::size_t(row));
    std::string* fields[4] = {&track.Title, &track.Time, &track.Artist, &track.Album};
    *fields[column - 1] = text;
    if (grew) {
        const int currentColumn = grid_->currentColumn();
        showTracks();
        grid_->setCurrentCell(row, currentColumn);
    }
}

int TfrmAlbumData::currentTrackRow() const
{
    const int row = grid_->currentRow();
    return row >= 0 && row < working_.TrackCount() ? row : -1;
}

void TfrmAlbumData::updateCommands()
{
    const int row = currentTrackRow();
    insertTrack_->setEnabled(row >= 0);
    deleteTrack_->setEnabled(row >= 0);
    moveUp_->setEnabled(row > 0);
    moveDown_->setEnabled(row >= 0 && row + 1 < working_.TrackCount());
    first_->setEnabled(CurrentIndex() > 0);
    previous_->setEnabled(CurrentIndex() > 0);
    next_->setEnabled(CurrentIndex() + 1 < albums_.Count());
    last_->setEnabled(CurrentIndex() + 1 < albums_.Count());
}

void TfrmAlbumData::insertTrack()
{
    const int row = currentTrackRow();
    if (row < 0)
        return;
    working_.Tracks.Insert(std::size_t(row));
    showTracks();
    grid_->setCurrentCell(row, 1);
}

void TfrmAlbumData::deleteTrack()
{
    const int row = currentTrackRow();
    if (row < 0)
        return;
    working_.Tracks.Delete(std::size_t(row));
    showTracks();
    grid_->setCurrentCell(std::min(row, std::max(working_.TrackCount() - 1, 0)), 1);
}

void TfrmAlbumData::moveTrack(int delta)
{
    const int row = currentTrackRow();
    const int other = row + delta;
    if (row < 0 || other < 0 || other >= working_.TrackCount())
        return;
    TTrackInfo& a = working_.Tracks.Get(std::size_t(row));
    TTrackInfo& b = working_.Tracks.Get(std::size_t(other));
    std::swap(a.Title, b.Title);
    std::swap(a.Artist, b.Artist);
    std::swap(a.Time, b.Time);
    std::swap(a.Album, b.Album);
    showTracks();
    grid_->setCurrentCell(other, grid_->currentColumn() < 1 ? 1 : grid_->currentColumn());
}

void TfrmAlbumData::ImportFolder(
    const std::string& folder, const std::vector<std::string>& fileNames, bool withoutFolderNames)
{
    writeBack();
    AlbumFromFolder(folder, fileNames, working_, withoutFolderNames);
    showAlbum();
}

bool TfrmAlbumData::ImportPlaylist(const std::string& playlistFile)
{
    writeBack();
    LastPlaylist() = playlistFile;
    if (!AlbumFromPlaylist(playlistFile, working_))
        return false;
    showAlbum();
    return true;
}

void TfrmAlbumData::AddAlbum(int where, bool copyCurrent)
{
    writeBack();
    TAlbumInfo added;
    if (copyCurrent)
        added.Assign(working_);
    if (where == 0) {
        albums_.Store(added, -1);
        CurrentIndex() = albums_.Count() - 1;
    } else if (where == 1) {
        albums_.InsertAt(added, CurrentIndex());
    } else {
        albums_.InsertAt(added, 0);
        CurrentIndex() = 0;
    }
    working_.Assign(albums_.Album(CurrentIndex()));
    showAlbum();
}

void TfrmAlbumData::DeleteCurrentAlbum()
{
    albums_.Delete(CurrentIndex());
    if (albums_.Count() == 0)
        albums_.Store(TAlbumInfo(), -1);
    CurrentIndex() = std::clamp(CurrentIndex(), 0, albums_.Count() - 1);
    working_.Assign(albums_.Album(CurrentIndex()));
    showAlbum();
}

void TfrmAlbumData::DeleteAllAlbums()
{
    for (int i = albums_.Count() - 1; i >= 0; --i)
        albums_.Delete(i);
    albums_.Store(TAlbumInfo(), -1);
    CurrentIndex() = 0;
    working_.Assign(albums_.Album(0));
    showAlbum();
}

bool TfrmAlbumData::FindNext(const std::string& keyword, bool fuzzy)
{
    writeBack();
    const TAlbumHit hit = FindInAlbums(albums_, CurrentIndex() + 1, keyword, fuzzy);
    if (hit.Field == TAlbumHit::None)
        return false;
    MoveTo(hit.Album);
    if (hit.Field == TAlbumHit::InTitle)
        title_->setFocus();
    else if (hit.Field == TAlbumHit::InArtist)
        artist_->setFocus();
    else {
        grid_->setFocus();
        grid_->setCurrentCell(hit.Row, 1);
    }
    return true;
}

void TfrmAlbumData::Finish(const TASOptRec& options)
{
    writeBack();
    AlbumToLines(working_, lines_, options);
    QDialog::accept();
}

void TfrmAlbumData::accept()
{
    guarded([this] {
        writeBack();
        TfrmDisplayItems items(working_, this);
        if (items.exec() != QDialog::Accepted)
            return;
        lines_ = items.Lines();
        QDialog::accept();
    });
}

void TfrmAlbumData::reject()
{
    guarded([this] { writeBack(); });
    QDialog::reject();
}

} // namespace orvella

#pragma once
// "アルバム情報": the user's window onto the album store. The album shown is
// a working copy, written back to the store before moving to another album,
// adding, deleting, importing and closing, whenever it differs. OK asks
// which items to show ("表示項目の設定") and ends with those lines.

#include "music/album_build.h"
#include "music/albums.h"

#include <QDialog>

#include <functional>

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace orvella {

// Lets the user pick any file of a folder; lists the folder's files.
bool SelectMusicFolder(QWidget* parent, std::vector<std::string>& fileNames, std::string& folder);

class TfrmAlbumData : public QDialog {
public:
    // Opens the store `storeFile` (the user's "Albums.dat" by default).
    explicit TfrmAlbumData(QWidget* parent = nullptr, const std::string& storeFile = AlbumStoreFileName());
    ~TfrmAlbumData() override;

    // The album index of this program run.
    static int& CurrentIndex();

    const TAlbumInfo& Working() const { return working_; }
    const TAlbums& Albums() const { return albums_; }
    // The lines chosen when the dialog ended with OK.
    const std::vector<std::string>& ResultLines() const { return lines_; }

    // The commands, also reachable without their file dialogs.
    void ImportFolder(const std::string& folder, const std::vector<std::string>& fileNames, bool withoutFolderNames);
    bool ImportPlaylist(const std::string& playlistFile);
    void AddAlbum(int where, bool copyCurrent); // 0 at the end, 1 at the current place, 2 first
    void DeleteCurrentAlbum();
    void DeleteAllAlbums();
    bool FindNext(const std::string& keyword, bool fuzzy);
    void MoveTo(int index);
    // Ends like OK, with the display items given instead of asked for.
    void Finish(const TASOptRec& options);

    void accept() override;
    void reject() override;
    void done(int result) override;

private:
    void build();
    // The stored bounds when they fit the screen; otherwise Qt centres the
    // dialog on its owner.
    void restoreBounds();
    void saveBounds();
    void guarded(const std::function<void()>& command);
    void writeBack();
    void showAlbum();
    void showTracks();
    void updateCommands();
    void cellEdited(int row, int column);
    void insertTrack();
    void deleteTrack();
    void moveTrack(int delta);
    int currentTrackRow() const;

    TAlbums albums_;
    TAlbumInfo working_;
    std::vector<std::string> lines_;
    bool filling_ = false;

    QLineEdit* title_ = nullptr;
    QLineEdit* artist_ = nullptr;
    QLabel* position_ = nullptr;
    QTableWidget* grid_ = nullptr;
    QPushButton* first_ = nullptr;
    QPushButton* previous_ = nullptr;
    QPushButton* next_ = nullptr;
    QPushButton* last_ = nullptr;
    QPushButton* insertTrack_ = nullptr;
    QPushButton* deleteTrack_ = nullptr;
    QPushButton* moveUp_ = nullptr;
    QPushButton* moveDown_ = nullptr;
    QCheckBox* copyCurrent_ = nullptr;
    QComboBox* keyword_ = nullptr;
    QRadioButton* fuzzy_ = nullptr;
};

} // namespace orvella

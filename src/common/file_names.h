#pragma once
// The names of the data files, one spelling each, and how a name is found in a folder
// copied from a system where letter case does not matter.

#include <QHash>
#include <QLatin1String>
#include <QString>
#include <QStringList>

#include <array>

namespace qv {

// Files of the program folder and of the data folder.
inline constexpr QLatin1String ContiFile{"Conti.dat"};
inline constexpr QLatin1String RecContiFile{"RecConti.dat"};
inline constexpr QLatin1String CausaliFile{"Causali.DAT"};
inline constexpr QLatin1String RecCausaFile{"RecCausa.dat"};
inline constexpr QLatin1String ImpostaFile{"Imposta.DAT"};
inline constexpr QLatin1String ValuteFile{"Valute.DAT"};
inline constexpr QLatin1String ColoriFile{"colori.col"};
inline constexpr QLatin1String Help01File{"Help01.txt"};

// Extensions of an account's files (base name: the trimmed account code).
inline constexpr QLatin1String ExtMOV{".MOV"};
inline constexpr QLatin1String ExtMOR{".MOR"};
inline constexpr QLatin1String ExtOrd{".Ord"};
inline constexpr QLatin1String ExtTOT{".TOT"};
inline constexpr QLatin1String ExtCAR{".CAR"};
inline constexpr QLatin1String ExtNRC{".NRC"};
inline constexpr QLatin1String ExtFOG{".FOG"};
inline constexpr QLatin1String ExtNRF{".NRF"};
inline constexpr QLatin1String ExtIat{".Iat"};
inline constexpr QLatin1String ExtIpa{".Ipa"};
inline constexpr QLatin1String ExtOpz{".Opz"};
inline constexpr QLatin1String ExtOnp{".Onp"};
inline constexpr QLatin1String ExtSpe{".spe"};
inline constexpr QLatin1String ExtRIP{".RIP"};
inline constexpr QLatin1String ExtChi{".chi"};

// Every extension an account's files have.
inline constexpr std::array<QLatin1String, 15> EstensioniConto{
    ExtMOV, ExtMOR, ExtOrd, ExtTOT, ExtCAR, ExtNRC, ExtFOG, ExtNRF,
    ExtIat, ExtIpa, ExtOpz, ExtOnp, ExtSpe, ExtRIP, ExtChi};

// The path of `name` in `folder` ("/" added between them when missing): the file of
// exactly that name when it exists, else an existing file whose name equals `name`
// ignoring letter case (the first in name order when there are several), else the
// exact name, so that a new file gets the spelling asked for.
QString resolveFile(const QString& folder, const QString& name);

// resolveFile applied to the folder and name parts of a full path.
QString resolvePath(const QString& path);

// The names of folders read once each and looked up ignoring letter case, for an
// operation that resolves many names in the same folders: resolve() gives what
// resolvePath gives, but a folder is listed only the first time one of its names is
// not found as spelled (and again only when a name it gave is gone). Names the
// operation itself creates are told with created().
class FolderNames {
public:
    QString resolve(const QString& path);
    // The file at `path` (as resolved) now exists under that spelling.
    void created(const QString& path);

private:
    using Index = QHash<QString, QString>; // case-folded name -> name
    Index& indexOf(const QString& folder, bool reread);
    QHash<QString, Index> folders_;
};

// While one lives, resolveFile, resolvePath and accountFile read each folder's names
// once (FolderNames) instead of at every name not found as spelled: for an operation
// that looks up many names, such as the opening of an account. Scopes nest; the names
// are forgotten when the outermost ends. The files the program writes meanwhile are
// told to it by the file layer (noteFileWrite).
class FolderNamesScope {
public:
    FolderNamesScope();
    ~FolderNamesScope();
    FolderNamesScope(const FolderNamesScope&) = delete;
    FolderNamesScope& operator=(const FolderNamesScope&) = delete;
};

// Told by the file layer before it writes, creates or removes the file at `path`.
void noteNameWritten(const QString& path);

// How many times a folder's names have been listed to find a name ignoring letter case
// (the tests' way of seeing that an operation lists a folder once).
quint64 folderListingCount();

// Whether the account code `code`, trimmed, can be the base name of files in a folder
// and name nothing else: not blank, no "/" or "\\", no control character. A code that
// cannot is refused wherever a file would be named by it.
bool accountCodeNamesFile(const QString& code);

// The resolved path of an account's file: folder, trimmed code, extension; "" for a
// code with a separator or a control character, so that nothing is read or written
// outside the folder through it.
QString accountFile(const QString& folder, const QString& code, const QString& ext);

// The files of the account `code` in `folder` (full paths, in name order): every file
// whose name is the trimmed code followed by one of EstensioniConto, comparing it
// literally and ignoring letter case. The code is never a pattern, and nothing else is
// the account's: for "12", "123.MOV", "1.MOV", "12.txt" and "12.MOV.bak" are not; for
// "Conti", "Conti.dat" is not. None for a blank code.
QStringList accountFilesIn(const QString& folder, const QString& code);

// Removes the files accountFilesIn names, and no other. A blank code removes nothing
// and returns false. Returns true when every one was removed; the names of the files
// that could not be removed go to `failed`.
bool deleteAccountFiles(const QString& folder, const QString& code, QStringList* failed = nullptr);

} // namespace qv

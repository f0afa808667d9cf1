#include "app/frmHaupt.h"

#include "windows/Breitenverteilung.h"
#include "core/Anruferliste.h"
#include "windows/Anruferlistenansicht.h"
#include "windows/ListView.h"
#include "windows/StatusPanel.h"
#include "app/Teilsysteme.h"
#include "app/frmStatus.h"
#include "windows/modListviewSort.h"
#include "telephony/Anrufhinweis.h"
#include "telephony/Leitungssteuerung.h"
#include "telephony/Nummernbefehle.h"
#include "phonedb/AnruferlisteLoeschen.h"
#include "platform/clipboard/Clipboard.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/registry/RegionalSettings.h"
#include "platform/settings/SettingsStore.h"
#include "platform/system/Autostart.h"
#include "platform/system/SystemFacilities.h"
#include "platform/telephony/topTapi.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QResizeEvent>
#include <QStatusBar>

#include <cmath>
#include <numeric>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

const QString CRLF = u"\r\n"_s;

// Design positions inside the window, in pixels for the design font; the
// window scales them with its own font.
constexpr int Rand = 8;             // margin of the frames in the window and of the lists in the frames
constexpr int ListeOben = 18;       // top of a list inside its frame, below the caption
constexpr int TapiOben = 4;
constexpr int TapiHoehe = 84;
constexpr int AehnlicheAbstand = 6; // between the caller list's frame and the similar-numbers frame
constexpr QSize BannerGroesse(120, 20);
constexpr int Bildlaufleiste = 24;  // kept free beside the columns
constexpr int DatumZugabe = 3;      // the date column's extra
constexpr int PanelAbstand = 2;
constexpr int AdressBreite = 100;  // the address box at the least
constexpr int AdressAbstand = 6;   // between the address box and the two fields beside it
constexpr int CachePanelBreite = 16 + 8; // its picture only

// The longest texts each status panel shows, with or without a picture;
// each panel is made wide enough for them where the window allows.
struct Panelmuster
{
    bool mitBild;
    QStringList texte;
};

const Panelmuster &muster(frmHaupt::Statusfeld feld)
{
    static const Panelmuster telefon{true, {u"TAPI aktiv"_s, u"Wählton"_s, u"9. Klingeln"_s}};
    static const Panelmuster act{
        true, {u"Kein ACT! gestartet"_s, u"Keine ACT!-Datenbank geöffnet"_s, u"ACT!-Datenbank nicht lesbar"_s}};
    static const Panelmuster meldung{
        false,
        {u"Protokollfenster konnte nicht geöffnet werden."_s, u"Suche Kontakt in ACT!-Datenbank..."_s,
         u"Suche Kontakt im Nummerncache..."_s, u"Keine ähnlichen Nummern gefunden"_s}};
    switch (feld) {
    case frmHaupt::Statusfeld::Telefon: return telefon;
    case frmHaupt::Statusfeld::ACT: return act;
    default: return meldung;
    }
}

// What the caller list's columns must show whole: a 16-digit number with
// its picture, a call's date and time, and a contact name of 25 characters.
constexpr int NummerStellen = 16;
constexpr int KontaktZeichen = 25;

using M = Menuepunkt;

struct Menueeintrag
{
    Menuepunkt punkt;
    const char16_t *caption;
    std::optional<Menuepunkt> parent; // none: the menu bar
    const char16_t *shortcut;
    bool checkable;
};

// The menu tree in menu order. Items that carry a check mark are created checked.
constexpr Menueeintrag Menuebaum[] = {
    {M::mnuProgramm, u"&Programm", {}, u"", false},
    {M::mnuTAPI, u"&Tapimonitor aktivieren", M::mnuProgramm, u"Ctrl+T", false},
    {M::mnuCacheNeu, u"&Nummern-Cache erneuern", M::mnuProgramm, u"Ctrl+N", false},
    {M::mnuOptionen, u"&Optionen", M::mnuProgramm, u"", false},
    {M::mnuAutoNummern, u"ähnliche &Nummern suchen", M::mnuOptionen, u"Ctrl+A", true},
    {M::mnuVerbundeneNummern, u"Auf &verbundene Nummern reagieren", M::mnuOptionen, u"", true},
    {M::mnuAutoTimer, u"ACT! Timer mit starten", M::mnuOptionen, u"", true},
    {M::mnuBlank01, u"-", M::mnuOptionen, u"", false},
    {M::mnuTelefonfelder, u"&Telefonfelder auswählen", M::mnuOptionen, u"", false},
    {M::mnuNummern, u"Rufmon &Nummern", M::mnuOptionen, u"", false},
    {M::mnuNummernfilter, u"Nummern&filter", M::mnuOptionen, u"", false},
    {M::mnuACTDatenbank, u"ACT!-&Datenbank wählen...", M::mnuOptionen, u"", false},
    {M::mnuStartoptionen, u"&Startoptionen", M::mnuOptionen, u"", false},
    {M::mnuAutostart, u"&Mit der Anmeldung starten", M::mnuOptionen, u"", true},
    {M::mnuBenachrichtigung, u"Desktop-&Benachrichtigung", M::mnuOptionen, u"", true},
    {M::mnuTapiAktivieren, u"Tapi&monitor automatisch aktivieren", M::mnuStartoptionen, u"", true},
    {M::mnuFensterMin, u"&Fenster minimieren", M::mnuStartoptionen, u"", true},
    {M::mnuNummernCache, u"Nummern-&Cache benutzen", M::mnuStartoptionen, u"", true},
    {M::mnuNummernCacheAutomatisch, u"Nummern-Cache autom. aktualisieren", M::mnuStartoptionen, u"", true},
    {M::mnuTapiTreiber, u"T&API", M::mnuOptionen, u"", false},
    {M::mnuTapiInfos, u"Treiber &Informationen", M::mnuTapiTreiber, u"Ctrl+I", false},
    {M::mnuTapiEinstellungen, u"Treiber &Einstellungen", M::mnuTapiTreiber, u"", false},
    {M::mnuLeitungHinzufuegen, u"&Leitung hinzufügen…", M::mnuTapiTreiber, u"", false},
    {M::mnuLeitungEntfernen, u"Leitung entfe&rnen", M::mnuTapiTreiber, u"", false},
    {M::mnuTapiWaehlregeln, u"&Wählregeln", M::mnuTapiTreiber, u"", false},
    {M::mnuTAPIProtokoll, u"&Protokoll", M::mnuTapiTreiber, u"", true},
    {M::mnuBlank02, u"-", M::mnuTapiTreiber, u"", false},
    {M::mnuTapiNullAendern, u"Präfix (0) ä&ndern", M::mnuTapiTreiber, u"", false},
    {M::mnuTapiNull, u"Präfix (0) hin&zufügen", M::mnuTapiTreiber, u"", true},
    {M::mnuTAPINullEntfernen, u"Präfix (0) en&tfernen", M::mnuTapiTreiber, u"", true},
    {M::mnuBlank03, u"-", M::mnuTapiTreiber, u"", false},
    {M::mnuTAPIPlusKlammerFilter, u"&Pluszeichen und Klammern filtern", M::mnuTapiTreiber, u"", true},
    {M::mnuKeineNullBeimSuchen, u"&Suche in ACT! ohne Null", M::mnuTapiTreiber, u"", true},
    {M::mnuBeenden, u"&Beenden", M::mnuProgramm, u"Ctrl+Q", false},
    {M::mnuPopupListe, u"&Anruferliste", {}, u"", false},
    {M::mnuACTAnzeigen, u"&Kontakt anzeigen", M::mnuPopupListe, u"", false},
    {M::mnuACTProtokollAufzeichnen, u"&Protokoll aufzeichnen", M::mnuPopupListe, u"", false},
    {M::mnuPopupListeBlank01, u"-", M::mnuPopupListe, u"", false},
    {M::mnuKopieren, u"Eintrag &kopieren", M::mnuPopupListe, u"", false},
    {M::mnuKopiereKontaktNummer, u"Kontakt && Telefon&nummer", M::mnuKopieren, u"", false},
    {M::mnuKopierenTrennlinie, u"-", M::mnuKopieren, u"", false},
    {M::mnuKopiereNummer, u"&Telefonnummer", M::mnuKopieren, u"", false},
    {M::mnuKopiereOrt, u"&Ort", M::mnuKopieren, u"", false},
    {M::mnuKopiereKontakt, u"&Kontakt", M::mnuKopieren, u"", false},
    {M::mnuEintraege, u"Einträge &löschen", M::mnuPopupListe, u"", false},
    {M::mnuAlleLoeschen, u"&Alle", M::mnuEintraege, u"", false},
    {M::mnuTagLoeschen, u"Älter als 1 &Tag", M::mnuEintraege, u"", false},
    {M::mnuWocheLoeschen, u"Älter als 1 &Woche", M::mnuEintraege, u"", false},
    {M::mnuPopupListeBlank02, u"-", M::mnuPopupListe, u"", false},
    {M::mnuSuche_aehnliche, u"&Suche ähnliche Nummern", M::mnuPopupListe, u"", false},
    {M::mnuNummerAnwaehlen, u"&Nummer anwählen", M::mnuPopupListe, u"", false},
    {M::mnuPopupListeBlank03, u"-", M::mnuPopupListe, u"", false},
    {M::mnuAnruferlisteExportieren, u"Anruferliste &exportieren…", M::mnuPopupListe, u"", false},
    {M::mnuAnrufeImTeam, u"Anrufe im &Team…", M::mnuPopupListe, u"", false},
    {M::mnuStatusKopieren, u"Menü-Kopieren", {}, u"", false},
    {M::mnuCopyStatus, u"&Kopieren", M::mnuStatusKopieren, u"", false},
    {M::mnuMenueAehnliche, u"Menü-Ähnliche", {}, u"", false},
    {M::mnuAehnlicheACTAnzeigen, u"&Kontakt anzeigen", M::mnuMenueAehnliche, u"", false},
    {M::mnuAehnlicheACTProtokollAufzeichnen, u"&Protokoll aufzeichnen", M::mnuMenueAehnliche, u"", false},
    {M::mnuMenueAehnlicheBlank01, u"-", M::mnuMenueAehnliche, u"", false},
    {M::mnuAehnlicheNummerAnwaehlen, u"&Nummer anwählen", M::mnuMenueAehnliche, u"", false},
};

// Top-level menus that serve only as right-click menus.
bool versteckt(Menuepunkt punkt)
{
    return punkt == M::mnuStatusKopieren || punkt == M::mnuMenueAehnliche;
}

bool hatUntereintraege(Menuepunkt punkt)
{
    for (const Menueeintrag &e : Menuebaum) {
        if (e.parent == punkt)
            return true;
    }
    return false;
}

constexpr std::size_t nr(Menuepunkt punkt)
{
    return static_cast<std::size_t>(punkt);
}

} // namespace

// The pictures live in a static library; its resources must be registered by hand.
static void ladeBilderRessourcen()
{
    Q_INIT_RESOURCE(rufmon);
}

frmHaupt::frmHaupt(const frmHauptUmgebung &umgebung, QWidget *parent)
    : QMainWindow(parent)
    , m_store(umgebung.store)
    , m_dialogs(umgebung.dialogs)
    , m_clipboard(umgebung.clipboard)
    , m_system(umgebung.system)
    , m_tapi(umgebung.tapi)
    , m_teilsysteme(umgebung.teilsysteme)
    , m_optionen(umgebung.store, umgebung.system)
    , m_schalter(umgebung.schalter)
    , m_mass(font(), umgebung.system.TwipsPerPixelX())
{
    ladeBilderRessourcen();
    setObjectName(u"frmHaupt"_s);
    setWindowTitle(u"Rufmon - Der Tapimonitor für ACT!"_s);
    m_timerACT.setObjectName(u"TimerACT"_s);
    ladeBilder();
    erstelleSteuerelemente();
    erstelleMenues();
    bindeSchalter();
    verbindeBefehle();
    setMinimumSize(Mindestgroesse());
}

QSize frmHaupt::Mindestgroesse() const
{
    return QSize(pxX(m_mass.twips(MindestBreite)), pxY(m_mass.twips(MindestHoehe)));
}

frmHaupt::~frmHaupt()
{
    // The lists outlive the image lists while the window takes its children
    // down; they must not paint with pictures that are already gone.
    for (ListView *liste : {static_cast<ListView *>(m_lvNummern), m_lvKontakte}) {
        liste->Spalten().setSmallIcons(nullptr);
        liste->Spalten().setHeaderIcons(nullptr);
    }
}

void frmHaupt::ladeBilder()
{
    for (int i = 1; i <= 11; ++i)
        m_ilIcons.Add(QString::number(i), QIcon(u":/icons/ilIcons_%1.svg"_s.arg(i, 2, 10, QChar(u'0'))));
    m_ilTelefone.Add(u"aktiv"_s, QIcon(u":/icons/telefon_aktiv.svg"_s));
    m_ilTelefone.Add(u"passiv"_s, QIcon(u":/icons/telefon_passiv.svg"_s));
    m_ilTelefone.Add(u"abgenommen"_s, QIcon(u":/icons/telefon_abgenommen.svg"_s));
    m_ilSortierung.Add(u"Leer"_s, QIcon(u":/icons/sort_leer.svg"_s));
    m_ilSortierung.Add(u"Hoch"_s, QIcon(u":/icons/sort_hoch.svg"_s));
    m_ilSortierung.Add(u"Runter"_s, QIcon(u":/icons/sort_runter.svg"_s));
}

void frmHaupt::erstelleSteuerelemente()
{
    auto *flaeche = new QWidget(this);
    flaeche->setObjectName(u"Arbeitsflaeche"_s);
    setCentralWidget(flaeche);

    m_frTapi = new QGroupBox(u"Tapi-Gerät"_s, flaeche);
    m_frTapi->setObjectName(u"frTapi"_s);
    m_frTapi->setGeometry(e(Rand), e(TapiOben), e(489), e(TapiHoehe));

    m_cbxTapiDevices = new QComboBox(m_frTapi);
    m_cbxTapiDevices->setObjectName(u"cbxTapiDevices"_s);
    m_cbxTapiDevices->setGeometry(e(8), e(20), e(200), e(24));

    m_cmdInitTapi = new QPushButton(u"Tapimonitor aktivieren"_s, m_frTapi);
    m_cmdInitTapi->setObjectName(u"cmdInitTapi"_s);
    m_cmdInitTapi->setGeometry(e(214), e(18), e(200), e(28));
    m_cmdInitTapi->setIcon(m_ilTelefone.Picture(u"passiv"_s));
    m_cmdInitTapi->setIconSize(QSize(20, 20));
    m_cmdInitTapi->setToolTip(u"Tapimonitor aktivieren"_s);

    m_cbxAddress = new QComboBox(m_frTapi);
    m_cbxAddress->setObjectName(u"cbxAddress"_s);
    m_cbxAddress->setGeometry(e(8), e(52), e(AdressBreite), e(24));
    m_cbxAddress->setSizeAdjustPolicy(QComboBox::AdjustToContents);

    m_Text2 = new QLineEdit(u"Adresse"_s, m_frTapi);
    m_Text2->setObjectName(u"Text2"_s);
    m_Text2->setGeometry(e(8 + AdressBreite + AdressAbstand), e(52), e(70), e(24));
    m_Text1 = new QLineEdit(u"Telefon"_s, m_frTapi);
    m_Text1->setObjectName(u"Text1"_s);
    m_Text1->setGeometry(e(8 + AdressBreite + AdressAbstand + 70 + AdressAbstand), e(52), e(100), e(24));

    m_imBanner = new QLabel(m_frTapi);
    m_imBanner->setObjectName(u"imBanner"_s);
    m_imBanner->setToolTip(u"Informationen zum Programm"_s);
    const QSize banner(e(BannerGroesse.width()), e(BannerGroesse.height()));
    m_imBanner->setPixmap(QIcon(u":/banner/banner_01.svg"_s).pixmap(banner));
    m_imBanner->setGeometry(e(489) - banner.width() - e(Rand), e(54), banner.width(), banner.height());
    m_imBanner->setCursor(Qt::PointingHandCursor);
    m_imBanner->installEventFilter(this);

    const int listenOben = e(TapiOben + TapiHoehe + Rand);
    // Shown only while no line but the simulator is set up; the lists move down for it.
    m_lbLeitungHinweis = new QLabel(flaeche);
    m_lbLeitungHinweis->setObjectName(u"lbLeitungHinweis"_s);
    m_lbLeitungHinweis->move(e(Rand), listenOben);
    m_lbLeitungHinweis->hide();

    m_frAnruferliste = new QGroupBox(u"Anruferliste"_s, flaeche);
    m_frAnruferliste->setObjectName(u"frAnruferliste"_s);
    m_frAnruferliste->setGeometry(e(Rand), listenOben, e(489), e(160));
    m_lvNummern = new Anruferlistenansicht(m_teilsysteme.Anrufe(), m_frAnruferliste);
    m_lvNummern->setObjectName(u"lvNummern"_s);
    m_lvNummern->setGeometry(e(Rand), e(ListeOben), e(473), e(160 - 2 * ListeOben));
    const auto kleineBilder = [this](int index) { return QVariant(m_ilIcons.Picture(index)); };
    m_lvNummern->Modell().setSmallIcons(kleineBilder);
    m_lvNummern->Modell().setHeaderIcons(
        [this](const QString &key) { return QVariant(m_ilSortierung.Picture(key)); });
    m_lvNummern->Modell().setToolTips(&Anrufhinweis::ToolTip);
    m_lvNummern->Modell().setColumns({{u"Nummer"_s, u"Nummer"_s, {}},
                                      {u"Datum"_s, u"Datum"_s, {}},
                                      {u"Ort"_s, u"Ort"_s, {}},
                                      {u"Kontakt"_s, u"Kontakt"_s, {}}});

    m_frAehnliche = new QGroupBox(u"Kontakte in ACT! mit ähnlicher Telefonnummer"_s, flaeche);
    m_frAehnliche->setObjectName(u"frAehnliche"_s);
    m_frAehnliche->setGeometry(e(Rand), listenOben + e(160 + AehnlicheAbstand), e(489), e(100));
    m_lvKontakte = new ListView(m_frAehnliche);
    m_lvKontakte->setObjectName(u"lvKontakte"_s);
    m_lvKontakte->setGeometry(e(Rand), e(ListeOben), e(473), e(100 - 2 * ListeOben));
    m_lvKontakte->Items().setSmallIcons(kleineBilder);
    m_lvKontakte->Items().setColumns({{u"Nummer"_s, u"Nummer"_s, {}},
                                      {u"Kontakt"_s, u"Kontakt"_s, {}},
                                      {u"Firma"_s, u"Firma"_s, {}}});
    // The similar contacts are listed in the order found; no header sorting.
    m_lvKontakte->header()->setSectionsClickable(false);

    m_lbID = new QLabel(flaeche);
    m_lbID->setObjectName(u"lbID"_s);
    m_lbID->hide();

    auto *bar = new QStatusBar(this);
    bar->setObjectName(u"StatusBar"_s);
    // The frame resizes the window; the room of a grip goes to the panels.
    bar->setSizeGripEnabled(false);
    bar->setContextMenuPolicy(Qt::CustomContextMenu);
    setStatusBar(bar);
    // The panels sit in one row of their own, so that the room between
    // them is the window's choice, not the status bar's.
    m_statusfelder = new QWidget(bar);
    m_statusfelder->setObjectName(u"Statusfelder"_s);
    auto *reihe = new QHBoxLayout(m_statusfelder);
    reihe->setContentsMargins(0, 0, 0, 0);
    reihe->setSpacing(e(PanelAbstand));
    for (int i = 0; i < 4; ++i) {
        m_panels[i] = new StatusPanel(m_statusfelder);
        m_panels[i]->setObjectName(u"Panel%1"_s.arg(i + 1));
        reihe->addWidget(m_panels[i]);
    }
    reihe->addStretch(1);
    bar->addWidget(m_statusfelder, 1);
    // A database path says most at its end.
    Panel(Statusfeld::ACT)->setElideMode(Qt::ElideMiddle);
    bar->installEventFilter(this);
    m_statusfelder->installEventFilter(this);
    menuBar()->installEventFilter(this);
    // The cache panel shows only its picture.
    m_panels[3]->setFixedWidth(CachePanelBreite);
}

void frmHaupt::erstelleMenues()
{
    for (const Menueeintrag &e : Menuebaum) {
        const QString caption = QString::fromUtf16(e.caption);
        QMenu *oben = e.parent ? m_menus[nr(*e.parent)] : nullptr;
        QAction *action = nullptr;
        if (hatUntereintraege(e.punkt)) {
            auto *menu = new QMenu(caption, this);
            menu->setObjectName(Objektname(e.punkt));
            m_menus[nr(e.punkt)] = menu;
            action = menu->menuAction();
            if (oben)
                oben->addMenu(menu);
            else
                menuBar()->addAction(action);
        } else if (caption == u"-"_s) {
            action = oben->addSeparator();
        } else {
            action = new QAction(caption, this);
            if (oben)
                oben->addAction(action);
            else
                menuBar()->addAction(action);
        }
        action->setObjectName(Objektname(e.punkt));
        if (e.shortcut[0] != 0) {
            action->setShortcut(QKeySequence(QString::fromUtf16(e.shortcut)));
            action->setShortcutContext(Qt::WindowShortcut);
        }
        if (e.checkable) {
            action->setCheckable(true);
            action->setChecked(true);
        }
        if (!e.parent && versteckt(e.punkt))
            action->setVisible(false);
        m_actions[nr(e.punkt)] = action;
    }
}

QAction *frmHaupt::Menu(Menuepunkt punkt) const
{
    return m_actions[nr(punkt)];
}

namespace {

// Each option and the menu item that shows it.
struct Schaltereintrag
{
    Optionsschalter::Schalter schalter;
    Menuepunkt punkt;
};

using S = Optionsschalter::Schalter;

constexpr Schaltereintrag Schaltermenues[] = {
    {S::AehnlicheNummern, M::mnuAutoNummern},
    {S::VerbundeneNummern, M::mnuVerbundeneNummern},
    {S::ACTTimer, M::mnuAutoTimer},
    {S::Benachrichtigung, M::mnuBenachrichtigung},
    {S::MonitorAutomatisch, M::mnuTapiAktivieren},
    {S::FensterMinimieren, M::mnuFensterMin},
    {S::NummernCache, M::mnuNummernCache},
    {S::NummernCacheAutomatisch, M::mnuNummernCacheAutomatisch},
    {S::Telefonieprotokoll, M::mnuTAPIProtokoll},
    {S::PraefixHinzufuegen, M::mnuTapiNull},
    {S::PraefixEntfernen, M::mnuTAPINullEntfernen},
    {S::PlusKlammerFilter, M::mnuTAPIPlusKlammerFilter},
    {S::KeineNullBeimSuchen, M::mnuKeineNullBeimSuchen},
};

} // namespace

void frmHaupt::bindeSchalter()
{
    for (const Schaltereintrag &e : Schaltermenues) {
        QAction *action = Menu(e.punkt);
        action->setChecked(m_schalter.gesetzt(e.schalter));
        // The click flips the mark first; the option takes it over.
        connect(action, &QAction::toggled, this,
                [this, schalter = e.schalter](bool an) { m_schalter.setzen(schalter, an); });
    }
    connect(&m_schalter, &Optionsschalter::Geaendert, this, &frmHaupt::schalterGeaendert);
}

void frmHaupt::schalterGeaendert(Optionsschalter::Schalter schalter, bool an)
{
    for (const Schaltereintrag &e : Schaltermenues) {
        if (e.schalter == schalter)
            Menu(e.punkt)->setChecked(an);
    }
    if (schalter == S::NummernCache)
        zeigeNummernCache(an);
    // The similar-numbers pane shows or hides with its option.
    if (schalter == S::AehnlicheNummern)
        Form_Resize();
}

StatusPanel *frmHaupt::Panel(Statusfeld feld) const
{
    return m_panels[static_cast<int>(feld)];
}

void frmHaupt::verbindeBefehle()
{
    const auto on = [this](Menuepunkt punkt, auto handler) {
        connect(Menu(punkt), &QAction::triggered, this, handler);
    };
    on(Menuepunkt::mnuBeenden, [this] { close(); });
    on(Menuepunkt::mnuAutostart, [this](bool an) {
        if (!Autostart::setzen(an, QCoreApplication::applicationFilePath()))
            m_dialogs.MsgBox(u"Der Autostart-Eintrag "_s + Autostart::Eintrag() + u" konnte nicht geändert werden."_s,
                             Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation, Dialogs::defaultTitle());
        // The mark shows whether the entry is there, whatever happened.
        Menu(Menuepunkt::mnuAutostart)->setChecked(Autostart::eingerichtet());
    });
    on(Menuepunkt::mnuTAPI, [this] { m_cmdInitTapi->click(); });
    on(Menuepunkt::mnuKopiereNummer, [this] { mnuKopiereNummer_Click(); });
    on(Menuepunkt::mnuKopiereOrt, [this] { mnuKopiereOrt_Click(); });
    on(Menuepunkt::mnuKopiereKontakt, [this] { mnuKopiereKontakt_Click(); });
    on(Menuepunkt::mnuKopiereKontaktNummer, [this] { mnuKopiereKontaktNummer_Click(); });
    on(Menuepunkt::mnuCopyStatus, [this] { mnuCopyStatus_Click(); });
    on(Menuepunkt::mnuAlleLoeschen, [this] { EintraegeLoeschen(Menuepunkt::mnuAlleLoeschen); });
    on(Menuepunkt::mnuTagLoeschen, [this] { EintraegeLoeschen(Menuepunkt::mnuTagLoeschen); });
    on(Menuepunkt::mnuWocheLoeschen, [this] { EintraegeLoeschen(Menuepunkt::mnuWocheLoeschen); });

    connect(&m_timerACT, &IntervalTimer::Timer, this, &frmHaupt::TimerACT_Timer);

    connect(m_lvNummern, &ListView::ColumnClick, this,
            [this](int column) { modListviewSort::SortColumn(*m_lvNummern, column, true); });
    // Each list's command and right-click menu, by mouse or by keyboard alike.
    const auto befehlUndMenue = [this](ListView *liste, Menuepunkt befehl, Menuepunkt menue) {
        const auto zeigen = [this, befehl] { Menu(befehl)->trigger(); };
        const auto menueAn = [this, menue](const QPoint &at) { m_menus[nr(menue)]->popup(at); };
        connect(liste, &ListView::ItemDoubleClicked, this, zeigen);
        connect(liste, &ListView::ItemActivated, this, zeigen);
        connect(liste, &ListView::RightButtonReleased, this, menueAn);
        connect(liste, &ListView::ContextMenuKey, this, menueAn);
    };
    befehlUndMenue(m_lvNummern, M::mnuACTAnzeigen, M::mnuPopupListe);
    befehlUndMenue(m_lvKontakte, M::mnuAehnlicheACTAnzeigen, M::mnuMenueAehnliche);
    connect(statusBar(), &QStatusBar::customContextMenuRequested, this, [this](const QPoint &at) {
        m_menus[nr(M::mnuStatusKopieren)]->popup(statusBar()->mapToGlobal(at));
    });
}

bool frmHaupt::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_imBanner && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && m_imBanner->rect().contains(mouse->position().toPoint()))
            emit InfoAngefordert();
        return true;
    }
    // The bars take their final height only once the window is laid out;
    // the space left for the lists follows them.
    if ((watched == statusBar() || watched == menuBar() || watched == m_statusfelder)
        && event->type() == QEvent::Resize)
        Form_Resize();
    return QMainWindow::eventFilter(watched, event);
}

double frmHaupt::TwipsProPixelX() const
{
    return m_system.TwipsPerPixelX();
}

double frmHaupt::TwipsProPixelY() const
{
    return m_system.TwipsPerPixelY();
}

int frmHaupt::pxX(double twips) const
{
    return static_cast<int>(std::lround(twips / TwipsProPixelX()));
}

int frmHaupt::pxY(double twips) const
{
    return static_cast<int>(std::lround(twips / TwipsProPixelY()));
}

double frmHaupt::twX(int pixels) const
{
    return pixels * TwipsProPixelX();
}

double frmHaupt::twY(int pixels) const
{
    return pixels * TwipsProPixelY();
}

void frmHaupt::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void frmHaupt::Form_Resize()
{
    if (m_imLayout)
        return;
    m_imLayout = true;
    m_timerACT.setEnabled(false);

    if (!isMinimized()) {
        // Never smaller than the design size; an attempt to shrink is undone.
        const QSize mindest = Mindestgroesse();
        if (width() < mindest.width() || height() < mindest.height())
            resize(std::max(width(), mindest.width()), std::max(height(), mindest.height()));

        const double innenBreite = twX(width());
        const double innenHoehe = twY(height() - (menuBar()->isHidden() ? 0 : menuBar()->height()));

        const int panelBreite = static_cast<int>(std::lround(innenBreite)) / 4;
        setzePanelbreiten(pxX(panelBreite));

        const double m = twX(m_frAnruferliste->x());
        const double W = std::round(innenBreite - 2 * m);
        for (QGroupBox *frame : {m_frAehnliche, m_frAnruferliste, m_frTapi})
            frame->resize(pxX(W), frame->height());
        m_imBanner->move(pxX(W - twX(m_imBanner->width()) - twX(m_frTapi->x())), m_imBanner->y());

        const double k = twX(m_lvKontakte->x());
        const double listenBreite = std::round(twX(m_frAehnliche->width()) - 2 * k);
        m_lvNummern->resize(pxX(listenBreite), m_lvNummern->height());
        m_lvKontakte->resize(pxX(listenBreite), m_lvKontakte->height());

        const double H = std::round(innenHoehe - twY(m_frAnruferliste->y())
                                    - twY(statusBar()->height()) - 2 * m);
        if (m_schalter.gesetzt(Optionsschalter::Schalter::AehnlicheNummern)) {
            m_frAnruferliste->resize(m_frAnruferliste->width(), pxY(H * 0.6));
            m_frAehnliche->setVisible(true);
            m_frAehnliche->resize(m_frAehnliche->width(), pxY(H * 0.4));
        } else {
            m_frAnruferliste->resize(m_frAnruferliste->width(), pxY(H));
            m_frAehnliche->setVisible(false);
        }

        m_frAehnliche->move(m_frAehnliche->x(),
                            m_frAnruferliste->y() + m_frAnruferliste->height() + e(AehnlicheAbstand));
        m_lvNummern->resize(m_lvNummern->width(),
                            std::max(0, m_frAnruferliste->height() - 2 * m_lvNummern->y()));
        m_lvKontakte->resize(m_lvKontakte->width(),
                             std::max(0, m_frAehnliche->height() - 2 * m_lvKontakte->y()));
    }

    m_timerACT.setEnabled(true);
    m_imLayout = false;
}

void frmHaupt::setzePanelbreiten(int anteil)
{
    const Statusfeld felder[] = {Statusfeld::Telefon, Statusfeld::ACT, Statusfeld::Meldung};
    QList<int> bedarf;
    for (Statusfeld feld : felder) {
        int breite = 0;
        for (const QString &text : muster(feld).texte)
            breite = std::max(breite, Panel(feld)->Textbedarf(text, muster(feld).mitBild));
        bedarf.append(breite);
    }
    const int platz = m_statusfelder->width() - Panel(Statusfeld::Cache)->width() - 3 * e(PanelAbstand);
    const QList<int> breiten = VerteileBreiten(platz, {anteil, anteil, anteil}, bedarf);
    for (int i = 0; i < 3; ++i)
        Panel(felder[i])->setFixedWidth(breiten[i]);
}

void frmHaupt::setzeSpaltenbreiten()
{
    for (ListView *liste : {static_cast<ListView *>(m_lvNummern), m_lvKontakte}) {
        const int spalten = liste->Spalten().columnCount();
        if (spalten == 0)
            continue;
        const int breite = (liste->width() - e(Bildlaufleiste)) / spalten;
        for (int i = 0; i < spalten; ++i)
            liste->setColumnWidth(i, breite);
    }
    m_lvNummern->setColumnWidth(1, m_lvNummern->columnWidth(1) + e(DatumZugabe));

    // The design's equal shares cut a long number, the date and time, and
    // longer names; those columns take what they need from the others.
    const QDateTime spaet(QDate(2026, 12, 28), QTime(23, 58, 58));
    const int kontakt = static_cast<int>(std::ceil(KontaktZeichen * m_mass.Zeichenbreite()));
    nachBedarf(m_lvNummern, {{u"Nummer"_s, m_lvNummern->Spaltenbedarf(QString(NummerStellen, u'0'), true)},
                             {u"Datum"_s, m_lvNummern->Spaltenbedarf(RegionalSettings::DateTimeText(spaet), false)},
                             {u"Kontakt"_s, m_lvNummern->Spaltenbedarf(QString(), false) + kontakt}});
    // A similar number shows as written, after its field's name, from the company's room.
    nachBedarf(m_lvKontakte, {{u"Nummer"_s, m_lvKontakte->Spaltenbedarf(u"[Telefon] +49 (0)89 / 12 34 56-0"_s, false)},
                              {u"Kontakt"_s, m_lvKontakte->Spaltenbedarf(QString(), false) + kontakt}});
}

void frmHaupt::nachBedarf(ListView *liste, const QList<QPair<QString, int>> &bedarfNachSpalte)
{
    QList<int> anteile, bedarf;
    for (int i = 0; i < liste->Spalten().columnCount(); ++i) {
        anteile.append(liste->columnWidth(i));
        bedarf.append(0);
    }
    for (const auto &[key, breite] : bedarfNachSpalte) {
        const int spalte = liste->Spalten().columnByKey(key);
        if (spalte >= 0 && spalte < bedarf.size())
            bedarf[spalte] = breite;
    }
    const int platz = std::accumulate(anteile.begin(), anteile.end(), 0);
    const QList<int> breiten = VerteileBreiten(platz, anteile, bedarf);
    for (int i = 0; i < breiten.size(); ++i)
        liste->setColumnWidth(i, breiten[i]);
}

int frmHaupt::Spaltennummer(const QString &key) const
{
    return m_lvNummern->Modell().columnByKey(key);
}

QString frmHaupt::ErstesWort(const QString &text)
{
    const qsizetype blank = text.indexOf(u' ');
    return blank < 0 ? text : text.left(blank);
}

std::optional<Anruf> frmHaupt::gewaehlterAnruf() const
{
    return m_lvNummern->Auswahl();
}

void frmHaupt::kopiere(const QString &text)
{
    m_clipboard.Clear();
    m_clipboard.SetText(text);
}

void frmHaupt::mnuKopiereNummer_Click()
{
    if (const auto anruf = gewaehlterAnruf())
        kopiere(anruf->nummer);
}

void frmHaupt::mnuKopiereOrt_Click()
{
    if (const auto anruf = gewaehlterAnruf())
        kopiere(anruf->ort);
}

void frmHaupt::mnuKopiereKontakt_Click()
{
    if (const auto anruf = gewaehlterAnruf())
        kopiere(anruf->name);
}

void frmHaupt::mnuKopiereKontaktNummer_Click()
{
    if (const auto anruf = gewaehlterAnruf())
        kopiere(anruf->name + CRLF + anruf->nummer);
}

void frmHaupt::mnuCopyStatus_Click()
{
    kopiere(u"TAPI:"_s + Panel(Statusfeld::Telefon)->Text() + CRLF + u"Rufmon:"_s + Panel(Statusfeld::Meldung)->Text() + CRLF
            + u"ACT:"_s + Panel(Statusfeld::ACT)->Text());
    m_dialogs.MsgBox(u"Die Statusmeldungen sind in die Zwischenanblage kopiert worden."_s,
                     Dialogs::Buttons::Ok, Dialogs::Icon::Information, Dialogs::defaultTitle());
}

void frmHaupt::EintraegeLoeschen(Menuepunkt befehl)
{
    clRufmonDaten *daten = m_teilsysteme.Telefondaten();
    if (!daten)
        return;
    AnruferlisteLoeschen loeschen(m_dialogs, *daten, m_lvNummern->Anrufe());
    bool neuGeladen = false;
    if (befehl == Menuepunkt::mnuAlleLoeschen)
        neuGeladen = loeschen.mnuAlleLoeschen();
    else if (befehl == Menuepunkt::mnuTagLoeschen)
        neuGeladen = loeschen.mnuTagLoeschen();
    else
        neuGeladen = loeschen.mnuWocheLoeschen();
    // The reloaded calls show in the order the list showed before.
    if (neuGeladen)
        modListviewSort::SortColumn(*m_lvNummern, m_lvNummern->SortKey(), false);
}

void frmHaupt::SchalteNummernCache(bool ein)
{
    m_schalter.setzen(Optionsschalter::Schalter::NummernCache, ein);
    zeigeNummernCache(ein);
}

void frmHaupt::zeigeNummernCache(bool ein)
{
    Menu(Menuepunkt::mnuNummernCacheAutomatisch)->setEnabled(ein);
    const int bild = ein ? 11 : 4;
    Panel(Statusfeld::Cache)->setPicture(m_ilIcons.Picture(bild), bild);
    Panel(Statusfeld::Cache)->setToolTipText(ein ? u"Der Nummern-Cache wird verwendet."_s
                                 : u"Es wird kein Nummern-Cache verwendet."_s);
}

void frmHaupt::anbinden(Leitungsteile &teile)
{
    m_leitungsteile = &teile;
    Leitungssteuerung *leitung = &teile.Leitung();
    Nummernbefehle *nummern = &teile.Nummern();
    const auto on = [this](Menuepunkt punkt, auto handler) {
        connect(Menu(punkt), &QAction::triggered, this, handler);
    };
    connect(m_cmdInitTapi, &QPushButton::clicked, leitung, &Leitungssteuerung::cmdInitTapi_Click);
    connect(m_cbxTapiDevices, &QComboBox::activated, leitung, &Leitungssteuerung::cbxTapiDevices_Click);
    connect(leitung, &Leitungssteuerung::MonitorGeaendert, this, &frmHaupt::MonitorGeaendert);
    on(Menuepunkt::mnuTapiEinstellungen, [leitung] { leitung->mnuTapiEinstellungen(); });
    on(Menuepunkt::mnuLeitungHinzufuegen, [leitung] { leitung->mnuLeitungHinzufuegen(); });
    on(Menuepunkt::mnuLeitungEntfernen, [leitung] { leitung->mnuLeitungEntfernen(); });
    on(Menuepunkt::mnuNummernfilter, [nummern] { nummern->mnuNummernfilter(); });
    // The click has flipped the option already; the commands want the one before.
    on(Menuepunkt::mnuTapiNull, [nummern](bool gesetzt) { nummern->mnuTapiNull(!gesetzt); });
    on(Menuepunkt::mnuTAPINullEntfernen, [nummern](bool gesetzt) { nummern->mnuTAPINullEntfernen(!gesetzt); });
    on(Menuepunkt::mnuTapiNullAendern, [nummern] { nummern->mnuTapiNullAendern(); });
}

bool frmHaupt::MonitorAktiv() const
{
    return m_leitungsteile && m_leitungsteile->Leitung().Aktiv();
}

QString frmHaupt::TelefonText() const
{
    return Panel(Statusfeld::Telefon)->Text();
}

void frmHaupt::setTelefonText(const QString &text)
{
    Panel(Statusfeld::Telefon)->setText(text);
}

void frmHaupt::setTelefonToolTip(const QString &text)
{
    Panel(Statusfeld::Telefon)->setToolTipText(text);
}

void frmHaupt::setTelefonBild(int index)
{
    Panel(Statusfeld::Telefon)->setPicture(m_ilIcons.Picture(index), index);
}

void frmHaupt::setKnopfBild(const QString &key)
{
    m_cmdInitTapi->setIcon(m_ilTelefone.Picture(key));
    m_cmdInitTapi->setProperty("Bild", key);
}

void frmHaupt::setKnopfToolTip(const QString &text)
{
    m_cmdInitTapi->setToolTip(text);
}

void frmHaupt::setGeraete(const QStringList &namen)
{
    const QSignalBlocker still(m_cbxTapiDevices);
    m_cbxTapiDevices->clear();
    m_cbxTapiDevices->addItems(namen);
    m_cbxTapiDevices->setCurrentIndex(-1);
}

void frmHaupt::setGeraetAuswahl(int index)
{
    const QSignalBlocker still(m_cbxTapiDevices);
    m_cbxTapiDevices->setCurrentIndex(index);
}

QString frmHaupt::GeraetText() const
{
    return m_cbxTapiDevices->currentText();
}

void frmHaupt::setGeraeteAktiv(bool aktiv)
{
    m_cbxTapiDevices->setEnabled(aktiv);
}

void frmHaupt::setAdressen(const QStringList &namen)
{
    m_cbxAddress->clear();
    m_cbxAddress->addItems(namen);
    m_cbxAddress->setCurrentIndex(namen.isEmpty() ? -1 : 0);
    ordneAdresszeile();
}

void frmHaupt::setLeitungshinweis(const QString &text)
{
    m_lbLeitungHinweis->setText(text);
    m_lbLeitungHinweis->adjustSize();
    m_lbLeitungHinweis->setVisible(!text.isEmpty());
    const int listenOben = m_lbLeitungHinweis->y() + (text.isEmpty() ? 0 : m_lbLeitungHinweis->height() + e(Rand));
    if (m_frAnruferliste->y() == listenOben)
        return;
    m_frAnruferliste->move(m_frAnruferliste->x(), listenOben);
    Form_Resize();
}

void frmHaupt::ordneAdresszeile()
{
    // The box grows to its longest address, up to the room left of the
    // banner; the two fields beside it move along.
    const int abstand = e(AdressAbstand);
    const int hoechstens = m_imBanner->x() - abstand - m_Text1->width() - abstand - m_Text2->width() - abstand
                           - m_cbxAddress->x();
    const int breite = std::clamp(m_cbxAddress->sizeHint().width(), e(AdressBreite),
                                  std::max(e(AdressBreite), hoechstens));
    m_cbxAddress->resize(breite, m_cbxAddress->height());
    m_Text2->move(m_cbxAddress->x() + breite + abstand, m_Text2->y());
    m_Text1->move(m_Text2->x() + m_Text2->width() + abstand, m_Text1->y());
}

void frmHaupt::setTitel(const QString &titel)
{
    setWindowTitle(titel);
}

void frmHaupt::setMenueText(Menuepunkt punkt, const QString &text)
{
    Menu(punkt)->setText(text);
}

void frmHaupt::setLbIDText(const QString &text)
{
    m_lbID->setText(text);
}

void frmHaupt::atmen()
{
    QCoreApplication::processEvents();
}

bool frmHaupt::Protokolliert() const
{
    return m_schalter.gesetzt(Optionsschalter::Schalter::Telefonieprotokoll);
}

void frmHaupt::PrintProtokoll(const QString &ereignis, const QString &werte)
{
    emit Telefonieprotokollzeile(ereignis, werte);
}

QRect frmHaupt::FensterTwips() const
{
    const QRect jetzt(frameGeometry().topLeft(), size());
    if (!m_gegebenPixel.isNull() && jetzt == m_gegebenPixel)
        return m_gegebenTwips;
    return QRect(static_cast<int>(std::lround(twX(jetzt.x()))), static_cast<int>(std::lround(twY(jetzt.y()))),
                 static_cast<int>(std::lround(twX(jetzt.width()))),
                 static_cast<int>(std::lround(twY(jetzt.height()))));
}

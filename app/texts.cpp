#include "app/texts.h"

#include <array>

#include "app/branding.h"
#include "sysutil/sharedtexts.h"

bool LanguageEnglish = true;

namespace {

struct TTextRow {
  TTextKey Key;
  std::array<std::string, 4> Columns;
};

// French and Spanish repeat the English text unless given.
TTextRow Row(TTextKey key, std::string de, std::string en, std::string fr = {},
             std::string es = {}) {
  std::string french = fr.empty() ? en : std::move(fr);
  std::string spanish = es.empty() ? en : std::move(es);
  return {key, {std::move(de), std::move(en), std::move(french), std::move(spanish)}};
}

// A button's caption, in the words of the component library's table.
TTextRow SharedRow(TTextKey key, int sharedRow) {
  return {key, {SharedText(sharedRow, 0), SharedText(sharedRow, 1), SharedText(sharedRow, 2),
                SharedText(sharedRow, 3)}};
}

const std::array<TTextRow, TextKeyCount>& Table() {
  static const std::array<TTextRow, TextKeyCount> table{{
      SharedRow(sYes, SharedYes),
      SharedRow(sNo, SharedNo),
      Row(sStart, "&Starten", "&Begin"),
      SharedRow(sCancel, SharedCancel),
      SharedRow(sFinish, SharedFinish),
      Row(sWelcome, "Willkommen", "Welcome"),
      Row(sInstallation, "Installation", "Installation"),
      Row(sFinishProcess, "Vorgang beenden", "Finish process"),
      Row(sRestartNow, "Ja, Computer jetzt neu starten.", "Yes, restart the computer now."),
      Row(sRestartLater,
          "Nein, Computer wird später neu gestartet.",
          "No, the computer will be restarted later."),
      Row(sIntro,
          "Cardmend kann einige häufig auftretende Probleme des Smart Card Resource "
          "Managers erkennen und selbständig beheben.",
          "Cardmend is able to detect and fix some common problems of the Smart Card "
          "Resource Manager."),
      Row(sRequirements, "Voraussetzungen", "Requirements"),
      Row(sPCSCStatus, "PC/SC Status", "PC/SC Status"),
      Row(sAbout, "Über", "About"),
      Row(sWindowsRequirement, "Windows 2000 oder höher", "Windows 2000 or better"),
      Row(sAdminRequirement, "Administrator-Privilegien", "Administrator privileges"),
      Row(sRMRunning,
          "Der Smart Card Resource Manager läuft.",
          "The Smart Card Resource Manager is running."),
      Row(sRMNotRunning,
          "Der Smart Card Resource Manager läuft nicht.",
          "The Smart Card Resource Manager is not running."),
      Row(sRMAwaitingReader,
          "Der Resource Manager wartet auf einen Leser.",
          "The Resource Manager waits for a card reader."),
      Row(sRMChecking,
          "Der Smart Card Resource Manager wird geprüft ...",
          "Checking the Smart Card Resource Manager ..."),
      Row(sProgressText1,
          "Cardmend überprüft jetzt den Smart Card Resource Manager und versucht "
          "bekannte Probleme zu beheben.",
          "Cardmend is now checking the Smart Card Resource Manager and tries to fix "
          "known problems."),
      Row(sProgressText2,
          "Dieser Vorgang kann einige Sekunden dauern. Bitte unterbrechen Sie die "
          "Installation nicht. Der Fortschrittsbalken wird Sie über den Verlauf des "
          "Installationsvorganges informieren.",
          "This process can take some seconds. Please do not cancel the installation "
          "process. The progress bar will inform you about the progress of the "
          "installation process."),
      Row(sCheckCompleted,
          "Die Überprüfung des Systems wurde abgeschlossen.",
          "The system check has been completed."),
      Row(sRestartNeeded,
          "Damit die Änderungen wirksam werden, muss der Computer neu gestartet werden.",
          "In order that the changes take effect, the computer must be restarted."),
      Row(sNoRestartNeeded,
          "Die Änderungen sind bereits wirksam, ein Neustart ist nicht nötig.",
          "The changes have taken effect already; no restart is needed."),
      Row(sRemoveDisks,
          "Nehmen Sie alle Disketten aus den Laufwerken und klicken Sie anschließend auf "
          "\"Fertig stellen\", um den Vorgang abzuschließen.",
          "Remove all disks from their drives, then click \"Finish\" to complete the process."),
      Row(sNeedsWin2000,
          "Dieses Programm kann nur unter Windows 2000 oder|höhereren Windows-Versionen "
          "verwendet werden!",
          "This program requires Windows 2000 or better!"),
      Row(sRMWorks,
          "Der Smart Card Resource Manager scheint ordnungsgemäß zu funktionieren.|Es "
          "besteht keine Notwendigkeit, das System zu reparieren.",
          "The Smart Card Resource Manager seems to work properly.|There is no need to "
          "repair the system."),
      Row(sProceedAnyway,
          "||Wollen Sie den Vorgang trotzdem fortsetzen?",
          "||Do you want to proceed anyway?"),
      Row(sNotRecommended,
          "||<b>Es wird ausdrücklich empfohlen, den Vorgang nur dann "
          "fortzusetzen,|<b>wenn tatsächlich ein Problem mit dem Smart Card Resource "
          "Manager vorliegt.",
          "||<b>It is strongly recommended not to proceed, if there is|<b>no problem "
          "with the Smart Card Resource Manager."),
      Row(sNeedsAdmin,
          "Sie benötigen Administratorrechte, um dieses Programm auszuführen.|Bitte "
          "melden Sie sich als Administrator an.",
          "Administrator privileges are required to execute this application.|Please log "
          "on as Administrator."),
      Row(sCheckingRights,
          "Prüfe Zugriffsrechte in Windows-Registrierung ...",
          "Checking Access Rights in Registry ..."),
      Row(sAdjustingRights,
          "Setze Zugriffsrechte in Windows-Registrierung ...",
          "Adjusting Access Rights in Registry ..."),
      Row(sRegistering,
          "Registriere Smart Card Resource Manager ...",
          "Registering Smart Card Resource Manager ..."),
      Row(sReinstalling,
          "Installiere Smart Card Resource Manager neu ...",
          "Reinstalling Smart Card Resource Manager ..."),
      Row(sConfiguring,
          "Konfiguriere Smart Card Resource Manager ...",
          "Configuring Smart Card Resource Manager ..."),
      Row(sSettingParameters, "Setze Dienstparameter ...", "Setting Service Parameters ..."),
      Row(sVerifying,
          "Prüfe Smart Card Resource Manager ...",
          "Verifying Smart Card Resource Manager ..."),
      Row(sLaunching,
          "Starte Smart Card Resource Manager ...",
          "Launching Smart Card Resource Manager ..."),
      Row(sCompleted, "Vorgang abgeschlossen.", "Process Completed."),
      Row(sStopping,
          "Stoppe Smart Card Resource Manager ...",
          "Stopping Smart Card Resource Manager ..."),
      Row(sCompleting, "Beende Vorgang ...", "Completing process ..."),
      Row(sMoreInfo, "weitere Informationen", "additional information"),
      Row(sWebAddress, WebAddressGerman, WebAddressEnglish),
      Row(sNoBrowser,
          "Sie haben keinen Webbrowser installiert!",
          "No Web browser is installed!",
          "Vous n’avez pas installé de navigateur Internet !",
          "No ha instalado ningún explorador de web"),
      Row(sAdminHintTitle, "Administrator-Privilegien", "Administrator privileges"),
      Row(sAdminHint1,
          "Cardmend muß die Konfiguration des PC/SC Subsystems ändern, um bestehende "
          "Probleme beheben zu können.",
          "Cardmend needs to change the configuration of the PC/SC subsystem in order to "
          "solve any existing problems."),
      Row(sAdminHint2,
          "Da dies nur von einem System-Administrator durchgeführt werden kann, muss "
          "Cardmend von einem Benutzer|mit Administratorrechten gestartet werden.",
          "Since this can only be done by a system Administrator, Cardmend needs to be "
          "started by a user with Administrator|privileges."),
      Row(sAdminHint3,
          "Wenn Sie nicht als Administrator angemeldet sind, kann Cardmend das System "
          "nicht modifizieren und somit auch|nicht die gefundenen Fehler beheben.",
          "Thus, if you are not logged on as an Administrator, Cardmend will not be able "
          "to modify the system."),
      Row(sPCSCHintTitle, "Smart Card Resource Manager", "Smart Card Resource Manager"),
      Row(sPCSCHint1,
          "Der Smart Card Resource Manager ist eine Komponente des PC/SC Subsystems. Das "
          "PC/SC Subsystem wird von allen|PC/SC-Anwendungen benötigt.",
          "The Smart Card Resource Manager is a component of the PC/SC subsystem. The "
          "PC/SC subsystem is used by all|PC/SC based smart card applications."),
      Row(sPCSCHint2,
          "Es ist eine zusätzliche Schicht zwischen Anwendung und Treiber des "
          "Kartenlesers|und regelt den Zugriff auf alle vorhandenen Kartenleser und "
          "Chipkarten.",
          "It is a layer between the application and the driver of the smart card "
          "reader|and manages access to multiple smart card readers and smart cards."),
      Row(sPCSCHint3,
          "Ohne ein funktionierendes PC/SC Subsystem kann keine PC/SC-basierte Anwendung "
          "auf Kartenleser oder Chipkarten|zugreifen.",
          "Without a working PC/SC subsystem all PC/SC based applications will fail to "
          "access any smart card reader or smart|card."),
      Row(sPCSCHintAwaiting,
          "Windows startet den Resource Manager mit dem ersten Kartenleser: ohne Leser muss er "
          "nicht laufen.",
          "Windows starts the Resource Manager when a card reader is attached: without one, it "
          "need not run."),
      Row(sWinHintTitle, "Systemvoraussetzungen", "System requirements"),
      Row(sWinHint1,
          "Cardmend benötigt Windows 2000 oder höher.",
          "Cardmend requires Windows 2000 or newer versions."),
      Row(sWinHint2,
          "Wenn Sie eine ältere Windows-Version haben, dann können Sie PC/SC-Probleme "
          "durch eine manuelle|Neuinstallation der Smart Card Base Components (PC/SC "
          "Basis Komponenten) beheben.",
          "If you have an older version of Windows you can solve PC/SC related problems "
          "by reinstalling the|Smart Card Base Components manually using the "
          "\"Add/Remove Software\" function in the Control Panel."),
      Row(sWinHint3,
          "Auf diesen älteren Systemen ist der Smart Card Resource Manager kein Teil von "
          "Windows, sondern|ein Zusatzprogramm, das genau wie jede andere Anwendung "
          "installiert und deinstalliert werden kann.",
          "On those older systems, the Smart Card Resource Manager is not part of "
          "Windows but an additional|piece of software that can be installed and "
          "uninstalled like any other kind of software."),
      Row(sWinHintCurrent, "Aktuelle Windows-Version:", "Current Windows version:"),
      Row(sUsage,
          "Aufruf: cardmend.exe /check [/log DATEI]|"
          "oder:   cardmend.exe /repair [/log DATEI]||"
          "Ohne Schalter startet Cardmend seinen Assistenten.|"
          "/check prüft das Smart-Card-Subsystem und ändert nichts.|"
          "/repair repariert es ohne Rückfrage, wo /check einen Fehler findet.|"
          "/log DATEI schreibt das Protokoll auch in DATEI.||"
          "Exit-Codes: 0 in Ordnung oder repariert, 1 Reparatur nötig oder erfolglos,|"
          "3010 repariert, wirksam nach einem Neustart, 2 falscher Aufruf,|"
          "3 Windows älter als 2000, 4 keine Administratorrechte,|"
          "5 eine andere Kopie repariert, 6 Protokolldatei nicht beschreibbar.",
          "Usage: cardmend.exe /check [/log FILE]|"
          "or:    cardmend.exe /repair [/log FILE]||"
          "Without a switch Cardmend starts its wizard.|"
          "/check checks the smart card subsystem and changes nothing.|"
          "/repair repairs it without asking where /check finds a fault.|"
          "/log FILE also writes the trace to FILE.||"
          "Exit codes: 0 in order or repaired, 1 repair needed or failed,|"
          "3010 repaired, takes effect after a restart, 2 wrong command line,|"
          "3 Windows older than 2000, 4 no administrator rights,|"
          "5 another copy is repairing, 6 the log file cannot be written."),
      Row(sCheckInOrder,
          "Das Smart-Card-Subsystem ist in Ordnung.",
          "The smart card subsystem is in order."),
      Row(sCheckRepairNeeded,
          "Das Smart-Card-Subsystem muss repariert werden.",
          "The smart card subsystem needs a repair."),
      Row(sRepairWorks,
          "Der Smart Card Resource Manager funktioniert.",
          "The Smart Card Resource Manager works."),
      Row(sRepairRestart,
          "Die Reparatur wird mit dem nächsten Neustart von Windows wirksam.",
          "The repair takes effect when Windows restarts."),
      Row(sRepairFailed,
          "Die Reparatur hat nicht geholfen.",
          "The repair did not help."),
      Row(sAnotherCopyRepairing,
          "Eine andere Kopie von Cardmend läuft und repariert womöglich gerade.",
          "Another copy of Cardmend is running and may be repairing."),
      Row(sLogNotWritable,
          "Die Protokolldatei kann nicht geschrieben werden:",
          "The log file cannot be written:"),
      Row(sExitCode, "Exit-Code", "Exit code"),
  }};
  return table;
}

}  // namespace

int LangIndex() { return LanguageEnglish ? 1 : 0; }

const std::string& LangText(TTextKey key) { return LangText(key, LangIndex()); }

const std::string& LangText(TTextKey key, int column) {
  return Table().at(static_cast<size_t>(key)).Columns.at(static_cast<size_t>(column));
}

bool IsEnglishLocale(LANGID language) { return PRIMARYLANGID(language) != LANG_GERMAN; }

void ChooseLanguage() { LanguageEnglish = IsEnglishLocale(GetUserDefaultLangID()); }

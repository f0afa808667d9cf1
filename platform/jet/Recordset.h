#pragma once

#include "platform/jet/Field.h"
#include "platform/jet/Verbindung.h"

#include <QString>
#include <QVariantList>

#include <functional>
#include <memory>

// The rows of a statement or a table, read front to back as the program
// moves through them. RecordCount counts the rows reached so far, so it is
// exact after MoveLast; a table-type recordset also appends rows.
class Recordset
{
public:
    enum Typ { dbOpenTable = 1, dbOpenDynaset = 2, dbOpenSnapshot = 4, dbOpenForwardOnly = 8 };
    enum Option { dbAppendOnly = 8 };

    Recordset(std::shared_ptr<Verbindung> verbindung, const QString &quelle, int typ, int optionen,
              const QVariantList &parameter);
    ~Recordset();
    Recordset(const Recordset &) = delete;
    Recordset &operator=(const Recordset &) = delete;

    long RecordCount() const { return m_gesehen; }
    bool Eof() const { return m_eof; }
    void MoveFirst();
    void MoveLast();
    void MoveNext();

    ::Fields &Fields() { return m_fields; }
    const ::Fields &Fields() const { return m_fields; }
    // The current row's value of a field; an error without a current row.
    QVariant Wert(const QString &feld) const;
    QVariant Wert(int feld) const;

    void AddNew();
    void Update();
    // Appends a row given as UTF-8 texts (Null where empty), in the fields'
    // order, refused as AddNew, the values and Update would refuse it, but
    // without their conversions: an import of a million rows spends most
    // of its time there.
    void Anfuegen(const Verbindung::Textzeile &werte);
    void CancelUpdate();
    void Close();
    bool isOpen() const { return m_offen; }
    const QString &Name() const { return m_quelle; }

private:
    void pruefeOffen() const;
    void pruefeAktuell() const;
    bool schritt();
    bool zumLetzten();
    void ladeZeile();
    void leereWerte();
    void felderAusTabelle();
    void felderAusAnweisung();
    QVariant zumSpeichern(const Field &feld) const;
    sqlite3_stmt *einfuegeanweisung();
    // Inserts the row the binding gives, its keys checked and kept during an import.
    template<typename Werte>
    void einfuegen(const Werte &werte, const std::function<void(sqlite3_stmt *)> &binden);

    std::shared_ptr<Verbindung> m_verbindung;
    QString m_quelle;
    QString m_tabelle; // set when rows can be appended
    int m_optionen = 0;
    QVariantList m_parameter;
    Verbindung::Anweisung m_anweisung;
    Verbindung::Anweisung m_einfuegen;
    ::Fields m_fields;
    QVariantList m_gemerkt; // the current row while a new one is edited
    bool m_offen = true;
    bool m_eof = true;
    bool m_fertig = false; // the statement has delivered its last row
    bool m_neu = false;
    bool m_ohneDeklaration = false; // some column is an expression
    bool m_massenimport = false; // the table's indexes wait for the end of the import
    long m_position = -1;
    long m_gesehen = 0;
};

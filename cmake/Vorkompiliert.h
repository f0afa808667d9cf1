// The headers most files of ours include, compiled once per library (and
// once for all tests) on builds without a compiler cache: a clean build, as
// in CI, otherwise parses Qt's headers again for every file. Only what the
// target can reach is taken: a library without Qt Widgets gets no widget.
// Builds with a compiler cache compile each file exactly as written, so a
// missing include still shows there.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

#if __has_include(<QWidget>)
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>
#endif

#if __has_include(<QTcpSocket>)
#include <QTcpSocket>
#endif

#if __has_include(<QTest>)
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#endif

// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandrun.h"

#include <QProcess>
#include <QProcessEnvironment>

int runWithoutDisplay(const QString &program, const QStringList &args, QString *err)
{
    QProcess app;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"})
        env.remove(QString::fromLatin1(name));
    app.setProcessEnvironment(env);
    app.start(program, args);
    app.waitForFinished(60000);
    *err = QString::fromUtf8(app.readAllStandardError());
    return app.exitStatus() == QProcess::NormalExit ? app.exitCode() : -1;
}

QString pdfText(const QString &path)
{
    QProcess pdf;
    pdf.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    pdf.waitForFinished(60000);
    return QString::fromUtf8(pdf.readAllStandardOutput());
}

# Precompiled Qt headers: in most translation units of this project nearly all the
# compile time goes into Qt's own headers. Each library precompiles what its sources
# use; the tests share one header set (QtTest and QtWidgets), made once.
option(BVL_PRECOMPILE "Precompile the Qt headers of the libraries and tests" ON)

set(BVL_CORE_PCH <QByteArray> <QByteArrayView> <QDir> <QFile> <QFileInfo> <QHash> <QJsonArray>
    <QJsonDocument> <QJsonObject> <QJsonValue> <QString> <QStringList> <QTextStream> <QVector>)

function(bvl_precompile target)
    if(BVL_PRECOMPILE)
        target_precompile_headers(${target} PRIVATE ${ARGN})
    endif()
endfunction()

# target uses the header set made for source_target (the same compile options).
function(bvl_precompile_reuse target source_target)
    if(BVL_PRECOMPILE)
        target_precompile_headers(${target} REUSE_FROM ${source_target})
    endif()
endfunction()

# The compile settings every target of the project links.
add_library(kestrane_compile_settings INTERFACE)
target_compile_options(kestrane_compile_settings INTERFACE -Wall -Wextra)
target_compile_definitions(kestrane_compile_settings INTERFACE
    QT_NO_CAST_FROM_BYTEARRAY
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_USE_QSTRINGBUILDER
    QT_NO_FOREACH
    QT_DISABLE_DEPRECATED_BEFORE=0x050F00)

if(KESTRANE_SANITIZE)
    set(KESTRANE_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=undefined
        -fno-omit-frame-pointer)
    target_compile_options(kestrane_compile_settings INTERFACE ${KESTRANE_SANITIZER_FLAGS})
    target_link_options(kestrane_compile_settings INTERFACE ${KESTRANE_SANITIZER_FLAGS})
endif()

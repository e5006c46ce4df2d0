# Every dependency comes from a Debian package; a missing one stops the configure
# step with the name of the package that provides it (scripts/setup installs them all).

macro(kestrane_require found what package)
    if(NOT ${found})
        message(FATAL_ERROR "${what} was not found. Install the Debian package '${package}' "
            "(scripts/setup installs every dependency).")
    endif()
endmacro()

find_package(Qt5 5.15 QUIET COMPONENTS Core Gui Widgets Network OpenGL Test)
kestrane_require(Qt5Core_FOUND "Qt 5.15 Core" qtbase5-dev)
kestrane_require(Qt5Gui_FOUND "Qt 5.15 Gui" qtbase5-dev)
kestrane_require(Qt5Widgets_FOUND "Qt 5.15 Widgets" qtbase5-dev)
kestrane_require(Qt5Network_FOUND "Qt 5.15 Network" qtbase5-dev)
kestrane_require(Qt5Test_FOUND "Qt 5.15 Test" qtbase5-dev)
kestrane_require(Qt5OpenGL_FOUND "Qt 5.15 OpenGL" libqt5opengl5-dev)

set(OpenGL_GL_PREFERENCE GLVND)
find_package(OpenGL QUIET COMPONENTS OpenGL)
kestrane_require(OPENGL_FOUND "OpenGL" libgl-dev)
kestrane_require(OPENGL_GLU_FOUND "GLU" libglu1-mesa-dev)

find_path(QWT_INCLUDE_DIR qwt_plot.h PATHS /usr/include/qwt NO_DEFAULT_PATH)
find_library(QWT_LIBRARY NAMES qwt-qt5)
kestrane_require(QWT_INCLUDE_DIR "Qwt 6.1 headers" libqwt-qt5-dev)
kestrane_require(QWT_LIBRARY "Qwt 6.1 library (qwt-qt5)" libqwt-qt5-dev)
add_library(Kestrane::Qwt INTERFACE IMPORTED)
set_target_properties(Kestrane::Qwt PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES "${QWT_INCLUDE_DIR}"
    INTERFACE_LINK_LIBRARIES "${QWT_LIBRARY}")

find_path(QWTPLOT3D_INCLUDE_DIR qwt3d_surfaceplot.h PATHS /usr/include/qwtplot3d NO_DEFAULT_PATH)
find_library(QWTPLOT3D_LIBRARY NAMES qwtplot3d-qt5)
kestrane_require(QWTPLOT3D_INCLUDE_DIR "QwtPlot3D headers" libqwtplot3d-qt5-dev)
kestrane_require(QWTPLOT3D_LIBRARY "QwtPlot3D library (qwtplot3d-qt5)" libqwtplot3d-qt5-dev)
add_library(Kestrane::QwtPlot3D INTERFACE IMPORTED)
set_target_properties(Kestrane::QwtPlot3D PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES "${QWTPLOT3D_INCLUDE_DIR}"
    INTERFACE_LINK_LIBRARIES "${QWTPLOT3D_LIBRARY};Qt5::OpenGL;OpenGL::GL;OpenGL::GLU")

if(KESTRANE_BUILD_BENCHMARKS)
    find_package(benchmark QUIET)
    kestrane_require(benchmark_FOUND "Google Benchmark" libbenchmark-dev)
    # OpenCV's median filter is the reference figure in the filter benchmarks only.
    find_path(OPENCV_INCLUDE_DIR opencv2/imgproc.hpp PATH_SUFFIXES opencv4)
    find_library(OPENCV_CORE_LIBRARY NAMES opencv_core)
    find_library(OPENCV_IMGPROC_LIBRARY NAMES opencv_imgproc)
    kestrane_require(OPENCV_INCLUDE_DIR "OpenCV imgproc headers (benchmark reference)" libopencv-imgproc-dev)
    kestrane_require(OPENCV_IMGPROC_LIBRARY "OpenCV imgproc (benchmark reference)" libopencv-imgproc-dev)
    set(OpenCV_INCLUDE_DIRS "${OPENCV_INCLUDE_DIR}")
    set(OpenCV_LIBS "${OPENCV_IMGPROC_LIBRARY};${OPENCV_CORE_LIBRARY}")
endif()

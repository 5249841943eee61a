# LibreOffice's automation interface (UNO) for C++: the headers of the office's interfaces are
# generated from its type libraries by cppumaker (from the SDK), the runtime libraries come
# with the office. Defines the target evd_uno.
set(EVD_OFFICE_PROGRAM_DIR /usr/lib/libreoffice/program CACHE PATH "The office's program folder")
find_program(CPPUMAKER_EXECUTABLE cppumaker PATHS /usr/lib/libreoffice/sdk/bin NO_DEFAULT_PATH REQUIRED)
find_path(UNO_INCLUDE_DIR cppuhelper/bootstrap.hxx PATHS /usr/include/libreoffice /usr/lib/libreoffice/sdk/include REQUIRED)
find_file(UNO_TYPES_RDB types.rdb PATHS ${EVD_OFFICE_PROGRAM_DIR} NO_DEFAULT_PATH REQUIRED)
find_file(UNO_OFFAPI_RDB offapi.rdb PATHS ${EVD_OFFICE_PROGRAM_DIR}/types NO_DEFAULT_PATH REQUIRED)
foreach(lib uno_cppu uno_cppuhelpergcc3 uno_sal uno_salhelpergcc3)
  find_library(UNO_${lib}_LIBRARY ${lib} PATHS /usr/lib/libreoffice/sdk/lib NO_DEFAULT_PATH REQUIRED)
  list(APPEND UNO_LIBRARIES ${UNO_${lib}_LIBRARY})
endforeach()

# The interfaces the program and its tests use; cppumaker adds the types they depend on.
set(EVD_UNO_TYPES
  com.sun.star.awt.FontWeight com.sun.star.awt.XTopWindow com.sun.star.awt.XWindow
  com.sun.star.beans.PropertyValue com.sun.star.beans.XPropertySet
  com.sun.star.bridge.UnoUrlResolver com.sun.star.connection.NoConnectException
  com.sun.star.container.XEnumeration com.sun.star.container.XEnumerationAccess
  com.sun.star.container.XIndexAccess com.sun.star.container.XNameAccess
  com.sun.star.container.XNameContainer
  com.sun.star.document.MacroExecMode com.sun.star.document.XEmbeddedScripts
  com.sun.star.frame.Desktop com.sun.star.frame.XComponentLoader com.sun.star.frame.XController
  com.sun.star.frame.XDesktop2 com.sun.star.frame.XFrame com.sun.star.frame.XModel
  com.sun.star.frame.XStorable
  com.sun.star.lang.Locale com.sun.star.lang.XComponent com.sun.star.lang.DisposedException
  com.sun.star.script.XLibraryContainer com.sun.star.script.provider.XScript
  com.sun.star.script.provider.XScriptProvider com.sun.star.script.provider.XScriptProviderSupplier
  com.sun.star.sheet.XCellRangeData com.sun.star.sheet.XSpreadsheet com.sun.star.sheet.XSpreadsheetDocument
  com.sun.star.table.CellContentType com.sun.star.table.XCell com.sun.star.table.XCellRange
  com.sun.star.table.XColumnRowRange com.sun.star.text.XText
  com.sun.star.uno.DeploymentException com.sun.star.uno.XComponentContext com.sun.star.util.XCloseable
  com.sun.star.util.XNumberFormats com.sun.star.util.XNumberFormatsSupplier)
list(JOIN EVD_UNO_TYPES ";" EVD_UNO_TYPE_LIST)
set(EVD_UNO_HEADERS ${CMAKE_BINARY_DIR}/uno/include)
if(NOT EXISTS ${EVD_UNO_HEADERS}/com/sun/star/util/XNumberFormats.hpp
   OR NOT "${EVD_UNO_TYPE_LIST}" STREQUAL "${EVD_UNO_TYPES_MADE}")
  file(REMOVE_RECURSE ${EVD_UNO_HEADERS})
  execute_process(
    COMMAND ${CPPUMAKER_EXECUTABLE} -O${EVD_UNO_HEADERS} "-T${EVD_UNO_TYPE_LIST}" ${UNO_TYPES_RDB} ${UNO_OFFAPI_RDB}
    RESULT_VARIABLE made)
  if(NOT made EQUAL 0)
    message(FATAL_ERROR "cppumaker could not make the office's interface headers")
  endif()
  set(EVD_UNO_TYPES_MADE "${EVD_UNO_TYPE_LIST}" CACHE INTERNAL "")
endif()

add_library(evd_uno INTERFACE)
target_include_directories(evd_uno SYSTEM INTERFACE ${EVD_UNO_HEADERS} ${UNO_INCLUDE_DIR})
target_compile_definitions(evd_uno INTERFACE LINUX UNX CPPU_ENV=gcc3
  EVD_OFFICE_PROGRAM_DIR="${EVD_OFFICE_PROGRAM_DIR}")
target_link_libraries(evd_uno INTERFACE ${UNO_LIBRARIES})
# The runtime libraries lie in the office's program folder, outside the loader's search path:
# every program looks there, built or installed.
list(APPEND CMAKE_BUILD_RPATH ${EVD_OFFICE_PROGRAM_DIR})
list(APPEND CMAKE_INSTALL_RPATH ${EVD_OFFICE_PROGRAM_DIR})

# The winget manifests of a release, build/winget/: the installer manifest, with the hash of the
# setup.exe users download (signed, where the build signs it) and the version it installs, and
# the version manifest beside it. Run again with -P after each link, since the hash is only
# known then. The locale manifest (publisher, licence, description) is the publisher's to write.
if(CMAKE_SCRIPT_MODE_FILE)
    file(SHA256 "${TNP_EXE}" sha256)
    string(TOUPPER "${sha256}" sha256)
    file(MAKE_DIRECTORY "${TNP_WINGET_DIR}")
    file(WRITE "${TNP_WINGET_DIR}/${TNP_WINGET_ID}.installer.yaml"
"PackageIdentifier: ${TNP_WINGET_ID}
PackageVersion: ${TNP_VERSION}
InstallerType: exe
Scope: machine
InstallModes:
  - interactive
  - silent
  - silentWithProgress
# /D= takes the rest of the line, and winget puts the install location last.
InstallerSwitches:
  Silent: /S
  SilentWithProgress: /S
  Log: /LOG=\"<LOGPATH>\"
  InstallLocation: /D=<INSTALLPATH>
ExpectedReturnCodes:
  - InstallerReturnCode: 1602
    ReturnResponse: cancelledByUser
  - InstallerReturnCode: 1603
    ReturnResponse: contactSupport
  - InstallerReturnCode: 1618
    ReturnResponse: installInProgress
  - InstallerReturnCode: 1639
    ReturnResponse: invalidParameter
ElevationRequirement: elevationRequired
Installers:
  - Architecture: x86
    InstallerUrl: ${TNP_WINGET_URL}
    InstallerSha256: ${sha256}
ManifestType: installer
ManifestVersion: 1.6.0
")
    file(WRITE "${TNP_WINGET_DIR}/${TNP_WINGET_ID}.yaml"
"PackageIdentifier: ${TNP_WINGET_ID}
PackageVersion: ${TNP_VERSION}
DefaultLocale: en-US
ManifestType: version
ManifestVersion: 1.6.0
")
    return()
endif()

set(TNP_WINGET_URL "https://example.com/setup.exe" CACHE STRING
    "Where users download this build's setup.exe: the winget manifest's InstallerUrl")
set(TNP_WINGET_ID "TonePilot.TonePilot" CACHE STRING "The winget package identifier, Publisher.Package")

# The twin is a test build; only the i686 exe is released.
if(NOT CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    add_custom_command(TARGET setup POST_BUILD
        COMMAND ${CMAKE_COMMAND} -DTNP_EXE=$<TARGET_FILE:setup> -DTNP_WINGET_DIR=${CMAKE_BINARY_DIR}/winget
                -DTNP_WINGET_ID=${TNP_WINGET_ID} -DTNP_VERSION=${TNP_VERSION} -DTNP_WINGET_URL=${TNP_WINGET_URL}
                -P ${CMAKE_SOURCE_DIR}/cmake/Winget.cmake
        COMMENT "Writing the winget manifests"
        VERBATIM)
endif()

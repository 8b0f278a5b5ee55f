# Part of `cmake --install` (and so of cpack), after the programs: writes
# Vorkel.spdx.json, an SPDX 2.3 software bill of materials. It names the
# package and its version, the two programs with their SHA-256 (and the SHA-1
# that SPDX asks of every file), and the Debian packages of the toolchain
# that built them with their exact versions. Given by package/CMakeLists.txt:
#   VORKEL_SBOM_NAME     the package's name, Vorkel-<version>-win64
#   VORKEL_SBOM_VERSION  the version
#   VORKEL_SBOM_FILES    the programs' file names
#   VORKEL_SBOM_TOOLS    "<package>|<version>|<architecture>" for each
# The same files give the same bytes: the time in it is SOURCE_DATE_EPOCH's
# (string(TIMESTAMP) takes it; cpack sets it, see package_times.cmake), and
# the document's namespace is made from the programs' digests.
set(folder "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")

# JSON string contents: the names here need no more than these escapes.
function(json_quote out text)
  string(REPLACE "\\" "\\\\" text "${text}")
  string(REPLACE "\"" "\\\"" text "${text}")
  set(${out} "\"${text}\"" PARENT_SCOPE)
endfunction()

set(files "")
set(relationships "")
set(digests "")
foreach(name IN LISTS VORKEL_SBOM_FILES)
  file(SHA256 "${folder}/${name}" sha256)
  file(SHA1 "${folder}/${name}" sha1)
  string(APPEND digests "${sha256}")
  string(REGEX REPLACE "[^A-Za-z0-9.-]" "-" id "SPDXRef-File-${name}")
  json_quote(quoted_name "./${name}")
  string(CONCAT file_entry "    {\n      \"SPDXID\": \"${id}\",\n      \"fileName\": ${quoted_name},\n"
    "      \"checksums\": [\n"
    "        {\"algorithm\": \"SHA256\", \"checksumValue\": \"${sha256}\"},\n"
    "        {\"algorithm\": \"SHA1\", \"checksumValue\": \"${sha1}\"}\n      ],\n"
    "      \"licenseConcluded\": \"NOASSERTION\",\n      \"copyrightText\": \"NOASSERTION\"\n    }")
  list(APPEND files "${file_entry}")
  list(APPEND relationships
    "    {\"spdxElementId\": \"SPDXRef-Package-Vorkel\", \"relationshipType\": \"CONTAINS\", \"relatedSpdxElement\": \"${id}\"}")
endforeach()
list(JOIN files ",\n" files)

string(CONCAT packages "    {\n      \"SPDXID\": \"SPDXRef-Package-Vorkel\",\n      \"name\": \"Vorkel\",\n"
  "      \"versionInfo\": \"${VORKEL_SBOM_VERSION}\",\n      \"downloadLocation\": \"NOASSERTION\",\n"
  "      \"filesAnalyzed\": false,\n      \"licenseConcluded\": \"NOASSERTION\",\n"
  "      \"licenseDeclared\": \"NOASSERTION\",\n      \"copyrightText\": \"NOASSERTION\"\n    }")
foreach(tool IN LISTS VORKEL_SBOM_TOOLS)
  string(REPLACE "|" ";" tool "${tool}")
  list(GET tool 0 package)
  list(GET tool 1 version)
  list(GET tool 2 architecture)
  string(REGEX REPLACE "[^A-Za-z0-9.-]" "-" id "SPDXRef-Package-deb-${package}")
  string(REPLACE "+" "%2B" purl_version "${version}")
  string(CONCAT package_entry ",\n    {\n      \"SPDXID\": \"${id}\",\n      \"name\": \"${package}\",\n"
    "      \"versionInfo\": \"${version}\",\n      \"supplier\": \"Organization: Debian\",\n"
    "      \"downloadLocation\": \"NOASSERTION\",\n      \"filesAnalyzed\": false,\n"
    "      \"externalRefs\": [{\"referenceCategory\": \"PACKAGE-MANAGER\", \"referenceType\": \"purl\", "
    "\"referenceLocator\": \"pkg:deb/debian/${package}@${purl_version}?arch=${architecture}\"}],\n"
    "      \"licenseConcluded\": \"NOASSERTION\",\n      \"licenseDeclared\": \"NOASSERTION\",\n"
    "      \"copyrightText\": \"NOASSERTION\"\n    }")
  string(APPEND packages "${package_entry}")
  list(APPEND relationships
    "    {\"spdxElementId\": \"${id}\", \"relationshipType\": \"BUILD_TOOL_OF\", \"relatedSpdxElement\": \"SPDXRef-Package-Vorkel\"}")
endforeach()
list(JOIN relationships ",\n" relationships)

string(TIMESTAMP created "%Y-%m-%dT%H:%M:%SZ" UTC)
string(UUID uuid NAMESPACE 6ba7b811-9dad-11d1-80b4-00c04fd430c8 NAME "${VORKEL_SBOM_NAME}:${digests}" TYPE SHA1)
string(CONCAT sbom "{\n"
  "  \"spdxVersion\": \"SPDX-2.3\",\n"
  "  \"dataLicense\": \"CC0-1.0\",\n"
  "  \"SPDXID\": \"SPDXRef-DOCUMENT\",\n"
  "  \"name\": \"${VORKEL_SBOM_NAME}\",\n"
  "  \"documentNamespace\": \"urn:uuid:${uuid}\",\n"
  "  \"creationInfo\": {\n"
  "    \"created\": \"${created}\",\n"
  "    \"creators\": [\"Tool: CMake-${CMAKE_VERSION}\"]\n"
  "  },\n"
  "  \"documentDescribes\": [\"SPDXRef-Package-Vorkel\"],\n"
  "  \"packages\": [\n${packages}\n  ],\n"
  "  \"files\": [\n${files}\n  ],\n"
  "  \"relationships\": [\n${relationships}\n  ]\n"
  "}\n")
message(STATUS "Writing: ${folder}/Vorkel.spdx.json")
file(WRITE "${folder}/Vorkel.spdx.json" "${sbom}")

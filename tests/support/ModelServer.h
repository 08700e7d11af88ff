#pragma once

#include "FakeOllamaServer.h"
#include "TestSettings.h"

// Settings pointing at a fake server that offers a language model and an
// embedding model, both chosen.
struct ModelServer
{
    FakeOllamaServer server;
    TestSettings prefs;
    ModelServer()
    {
        FakeOllamaServer::Model embedder{"nomic-embed-text:latest"};
        embedder.capabilities = std::vector<std::string>{"embedding"};
        server.setModels({FakeOllamaServer::Model{"llama3.2:latest"}, embedder});
        prefs.settings().setOllamaURL(server.baseURL());
        prefs.settings().setSelectedLLMModel(QStringLiteral("llama3.2:latest"));
        prefs.settings().setSelectedEmbeddingModel(QStringLiteral("nomic-embed-text:latest"));
    }
};
